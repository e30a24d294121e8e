// Standard MIDI file writer: notes become note-on/note-off pairs ordered by time, each track
// starts with its name, program, volume and pan and ends with the end-of-track event.
#include <algorithm>
#include <tuple>

#include "tools/demo_gen/sound_files.h"

namespace {

void put_be(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(uint8_t(v >> (8 * i)));
}

void put_varlen(std::vector<uint8_t>& out, uint32_t v) {
    uint8_t buf[5];
    int n = 0;
    buf[n++] = uint8_t(v & 0x7F);
    while (v >>= 7)
        buf[n++] = uint8_t(0x80 | (v & 0x7F));
    while (n)
        out.push_back(buf[--n]);
}

struct Event {
    uint32_t tick;
    int order;  // note-offs before note-ons at the same tick
    std::vector<uint8_t> bytes;
};

std::vector<uint8_t> chunk(const std::vector<Event>& sorted) {
    std::vector<uint8_t> body;
    uint32_t now = 0;
    for (const Event& e : sorted) {
        put_varlen(body, e.tick - now);
        now = e.tick;
        body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    }
    put_varlen(body, 0);
    body.insert(body.end(), {0xFF, 0x2F, 0x00});
    std::vector<uint8_t> out{'M', 'T', 'r', 'k'};
    put_be(out, uint32_t(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

std::vector<uint8_t> meta_text(uint8_t type, const std::string& text) {
    std::vector<uint8_t> b{0xFF, type};
    put_varlen(b, uint32_t(text.size()));
    b.insert(b.end(), text.begin(), text.end());
    return b;
}

}  // namespace

std::vector<uint8_t> EncodeSmf(const MidiSong& song) {
    std::vector<uint8_t> out{'M', 'T', 'h', 'd'};
    put_be(out, 6, 4);
    put_be(out, 1, 2);
    put_be(out, uint32_t(song.parts.size() + 1), 2);
    put_be(out, song.ticks_per_beat, 2);

    std::vector<Event> tempo{{0,
                              0,
                              {0xFF, 0x51, 0x03, uint8_t(song.micros_per_beat >> 16),
                               uint8_t(song.micros_per_beat >> 8), uint8_t(song.micros_per_beat)}},
                             {0, 0, {0xFF, 0x58, 0x04, 4, 2, 24, 8}}};
    const std::vector<uint8_t> tempo_chunk = chunk(tempo);
    out.insert(out.end(), tempo_chunk.begin(), tempo_chunk.end());

    for (const MidiPart& part : song.parts) {
        const uint8_t ch = part.channel & 0x0F;
        std::vector<Event> events{{0, 0, meta_text(0x03, part.name)},
                                  {0, 0, {uint8_t(0xC0 | ch), uint8_t(part.program & 0x7F)}},
                                  {0, 0, {uint8_t(0xB0 | ch), 7, uint8_t(part.volume & 0x7F)}},
                                  {0, 0, {uint8_t(0xB0 | ch), 10, uint8_t(part.pan & 0x7F)}}};
        for (const MidiNote& n : part.notes) {
            events.push_back({n.start, 2, {uint8_t(0x90 | ch), n.key, n.velocity}});
            events.push_back(
                {n.start + std::max<uint32_t>(n.length, 1), 1, {uint8_t(0x80 | ch), n.key, 0}});
        }
        std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
            return std::tie(a.tick, a.order) < std::tie(b.tick, b.order);
        });
        const std::vector<uint8_t> c = chunk(events);
        out.insert(out.end(), c.begin(), c.end());
    }
    return out;
}
