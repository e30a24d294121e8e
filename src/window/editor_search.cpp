// The editor's search and replace over a whole text held as bytes. Matches start on a
// character's first byte only, so a word never matches the trail byte of one double-byte
// character and the lead byte of the next.
#include <string>
#include <vector>

#include "host/sjis.h"
#include "window/editor.h"

namespace {

// The start of every character of the text (the bytes of a valid double-byte pair count once).
std::vector<size_t> char_starts(const std::string& text) {
    std::vector<size_t> starts;
    starts.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        starts.push_back(i);
        bool pair = i + 1 < text.size() && IsSjisLead(uint8_t(text[i])) &&
                    IsSjisTrail(uint8_t(text[i + 1]));
        i += pair ? 2 : 1;
    }
    return starts;
}

bool matches_at(const std::string& text, const std::string& word, size_t at) {
    return at + word.size() <= text.size() && text.compare(at, word.size(), word) == 0;
}

}  // namespace

size_t FindWord(const std::string& text, const std::string& word, size_t from, bool forward) {
    if (word.empty()) return std::string::npos;
    if (forward) {
        // Walk the characters; only a character start may begin a match.
        size_t i = 0;
        while (i < text.size()) {
            size_t at = text.find(word, std::max(i, from));
            if (at == std::string::npos) return at;
            // Move i to the character boundary at or after `at`.
            while (i < at) {
                bool pair = i + 1 < text.size() && IsSjisLead(uint8_t(text[i])) &&
                            IsSjisTrail(uint8_t(text[i + 1]));
                i += pair ? 2 : 1;
            }
            if (i == at) return at;
            from = i;
        }
        return std::string::npos;
    }
    std::vector<size_t> starts = char_starts(text);
    for (size_t k = starts.size(); k-- > 0;)
        if (starts[k] < from && matches_at(text, word, starts[k])) return starts[k];
    return std::string::npos;
}

int ReplaceEvery(std::string* text, const std::string& word, const std::string& replacement,
                 size_t from, bool forward) {
    if (word.empty()) return 0;
    // One pass over the characters: a match starts on a character's first byte, on the asked
    // side of `from`, and the walk goes on after it.
    std::string out;
    out.reserve(text->size());
    int count = 0;
    size_t i = 0;
    while (i < text->size()) {
        bool side = forward ? i >= from : i < from;
        if (side && matches_at(*text, word, i)) {
            out += replacement;
            i += word.size();
            ++count;
            continue;
        }
        bool pair = i + 1 < text->size() && IsSjisLead(uint8_t((*text)[i])) &&
                    IsSjisTrail(uint8_t((*text)[i + 1]));
        size_t n = pair ? 2 : 1;
        out.append(*text, i, n);
        i += n;
    }
    if (count) text->swap(out);
    return count;
}
