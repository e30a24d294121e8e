// A map from record numbers to record handles for the lookup indexes: open addressing with
// linear probing in one flat array, so inserting a loaded file's records costs no allocation
// per record. An empty slot holds the handle 0, which no record has.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/pool.h"

class NumberMap {
public:
    // The handle stored for `number`, or nullptr.
    Handle* find(int32_t number) {
        if (slots_.empty()) return nullptr;
        for (size_t i = home(number);; i = (i + 1) & mask_) {
            Slot& s = slots_[i];
            if (!s.record) return nullptr;
            if (s.number == number) return &s.record;
        }
    }

    // Stores `record` (not 0) for `number` unless the number is there already. Returns the
    // stored handle's place and whether it was inserted.
    std::pair<Handle*, bool> emplace(int32_t number, Handle record) {
        if ((used_ + 1) * 2 > slots_.size()) grow(used_ + 1);
        size_t i = home(number);
        for (; slots_[i].record; i = (i + 1) & mask_)
            if (slots_[i].number == number) return {&slots_[i].record, false};
        slots_[i] = {number, record};
        ++used_;
        return {&slots_[i].record, true};
    }

    // Removes `number`; later entries of its probe run move back so no run has a hole.
    void erase(int32_t number) {
        if (slots_.empty()) return;
        size_t i = home(number);
        for (; slots_[i].number != number || !slots_[i].record; i = (i + 1) & mask_)
            if (!slots_[i].record) return;
        for (size_t j = (i + 1) & mask_; slots_[j].record; j = (j + 1) & mask_) {
            size_t k = home(slots_[j].number);
            // The entry at j may fill the hole at i when its home is not in (i, j].
            bool movable = i <= j ? (k <= i || k > j) : (k <= i && k > j);
            if (movable) {
                slots_[i] = slots_[j];
                i = j;
            }
        }
        slots_[i] = {};
        --used_;
    }

    // Makes room for `count` numbers in all without growing on the way.
    void reserve(size_t count) {
        if (count * 2 > slots_.size()) grow(count);
    }

    void clear() {
        slots_.clear();
        mask_ = 0;
        shift_ = 64;
        used_ = 0;
    }

    size_t size() const { return used_; }

private:
    struct Slot {
        int32_t number = 0;
        Handle record = 0;
    };

    size_t home(int32_t number) const {
        return size_t((uint64_t(uint32_t(number)) * 0x9E3779B97F4A7C15ull) >> shift_);
    }

    // Rebuilds the table with room for at least `count` numbers at half load.
    void grow(size_t count) {
        size_t capacity = 16;
        int bits = 4;
        while (capacity < count * 2) {
            capacity *= 2;
            ++bits;
        }
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(capacity, Slot{});
        mask_ = capacity - 1;
        shift_ = 64 - bits;
        used_ = 0;
        for (const Slot& s : old)
            if (s.record) emplace(s.number, s.record);
    }

    std::vector<Slot> slots_;
    size_t mask_ = 0;
    int shift_ = 64;
    size_t used_ = 0;
};
