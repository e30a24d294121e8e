// Random edit sequences on a text object. The input's first bytes are a text file read with
// ReadTextFile; the rest is a sequence of edits and reads. After every step the text must still
// hold: `lines` equals the newline count of its blocks, `size` their byte count plus one, no
// block holds more than 2047 bytes, and the text equals a plain string edited the same way.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/log.h"
#include "core/pool.h"
#include "core/system.h"
#include "fuzz_folder.h"
#include "host/sjis.h"
#include "resource/resource.h"
#include "text/text.h"

namespace {

void check(bool ok) {
    if (!ok) __builtin_trap();
}

bool set_up() {
    EnterFuzzFolder("text-edit", "Sys.error.elogfile /dev/null\n");
    StoreSystemFlags(FLAG_TRACE);
    return true;
}

// Reads the fuzzer's bytes as numbers; 0 once they run out.
struct Input {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    bool empty() const { return at >= size; }
    uint32_t byte() { return at < size ? data[at++] : 0; }
    uint32_t u16() { return byte() | byte() << 8; }
    std::string bytes(size_t n) {
        n = std::min(n, size - std::min(at, size));
        std::string s(reinterpret_cast<const char*>(data + at), n);
        at += n;
        return s;
    }
};

std::string content(Handle text) {
    std::string all;
    for (Handle b = text_header(text)->first_block; b; b = handle_entry(b)->next) {
        const char* t = reinterpret_cast<const char*>(handle_body(b));
        size_t n = strnlen(t, kTextBlockSize);
        check(n <= kTextBlockText);
        all.append(t, n);
    }
    return all;
}

std::vector<std::string> lines_of(const std::string& s) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t nl; (nl = s.find('\n', start)) != std::string::npos; start = nl + 1)
        lines.push_back(s.substr(start, nl - start));
    lines.push_back(s.substr(start));
    return lines;
}

size_t position(const std::string& model, uint32_t x, uint32_t y) {
    size_t start = 0;
    for (uint32_t i = 0; i < y; ++i)
        start = model.find('\n', start) + 1;
    return std::min(start + x, model.size());
}

std::string expand_tabs(const std::string& line, int tab) {
    std::string out;
    for (char c : line)
        out += c == '\t' ? std::string(size_t(tab) + 1, ' ') : std::string(1, c);
    return out;
}

void check_text(Handle text, const std::string& model) {
    const TextHeader* h = text_header(text);
    check(content(text) == model);
    check(h->size == model.size() + 1);
    check(h->lines == size_t(std::count(model.begin(), model.end(), '\n')));
}

}  // namespace

// Paths made absolute first, then the set-up (its folder, log and pool are made before the
// first input, so the leak check of each input does not count them).
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    MakeFuzzPathsAbsolute(argc, argv);
    set_up();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in{data, size};
    std::string initial = in.bytes(in.u16() % 8192);
    WriteFuzzFile("text.txt", reinterpret_cast<const uint8_t*>(initial.data()), initial.size());
    ResetResources();
    DestroyPool();
    if (!CreatePoolSized(32u << 20, 4096) || !CreateSystemResources()) std::abort();
    Handle text = CreateText(0, "text.txt", 0);
    check(text && ReadTextFile(text) == 0);
    std::string model = content(text);
    check_text(text, model);
    std::vector<char> out(kTextLineSize);

    for (int steps = 0; !in.empty() && steps < 200; ++steps) {
        uint32_t op = in.byte() % 7;
        uint32_t line_count = uint32_t(std::count(model.begin(), model.end(), '\n')) + 1;
        uint32_t y = in.byte() % (line_count + 2);  // now and then a line that does not exist
        uint32_t x = in.u16() % 2100;
        bool exists = y < line_count;
        size_t at = position(model, x, std::min(y, line_count - 1));
        TextHeader* h = text_header(text);
        switch (op) {
            case 0: {  // insert, sometimes more than a block
                std::string bytes = in.bytes(in.u16() % 4200);
                int result = text_insert(text, int(x), int(y), bytes.c_str(), int(bytes.size()));
                size_t n = strnlen(bytes.c_str(), bytes.size());
                check(result == (exists && n ? 0 : 1));
                if (exists) model.insert(at, bytes.substr(0, n));
                break;
            }
            case 1: {  // delete, sometimes over several blocks
                uint32_t n = in.u16() % 6000;
                check(text_delete(text, int(x), int(y), int(n)) == (exists ? 0 : 1));
                if (exists) model.erase(at, std::min<size_t>(n, model.size() - at));
                break;
            }
            case 2: {  // one character at the cursor
                char ch[3] = {char(in.byte()), char(in.byte()), '\0'};
                h->cursor_x = uint16_t(x);
                h->cursor_y = uint16_t(y);
                WordInsert(text, ch);
                if (exists && ch[0]) {
                    size_t n = IsSjisLead(uint8_t(ch[0])) && ch[1] ? 2 : 1;
                    model.insert(at, std::string(ch, n));
                }
                break;
            }
            case 3: {  // the character at the cursor
                h->cursor_x = uint16_t(x);
                h->cursor_y = uint16_t(y);
                DeleteCursorChar(text);
                if (exists && at < model.size()) {
                    bool pair = IsSjisLead(uint8_t(model[at])) && at + 1 < model.size() &&
                                IsSjisTrail(uint8_t(model[at + 1]));
                    model.erase(at, pair ? 2 : 1);
                }
                break;
            }
            case 4: {  // a line as it is read
                const char* got = GetTextLine(text, int(y), out.data(), out.size());
                check((got != nullptr) == exists);
                if (got) {
                    std::string expected = expand_tabs(lines_of(model)[y], h->tab_width);
                    std::string line = got;
                    // A line too long for the buffer is cut, never overrun.
                    if (expected.size() < out.size())
                        check(line == expected);
                    else
                        check(line.size() < out.size() &&
                              expected.compare(0, line.size(), line) == 0);
                }
                break;
            }
            case 5: {  // the end of the text, columns and points
                CursorToEnd(text);
                h = text_header(text);
                check(h->cursor_y == uint16_t(line_count - 1));
                check(h->cursor_x == uint16_t(lines_of(model).back().size()));
                if (const char* p = TextPoint(text, int(y))) {
                    check(exists);
                    check(LineColumns(text, p) >= 0);
                }
                break;
            }
            default:  // another tab width
                h->tab_width = uint8_t(in.byte() % 9);
                break;
        }
        check_text(text, model);
    }
    WriteTextFile(text);
    return 0;
}
