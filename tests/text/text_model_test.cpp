// Random edits applied both to a text object and to a plain string must leave the same text.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "text/text.h"
#include "text_fixture.h"

namespace {

class TextModelTest : public TextFixture {
protected:
    // Where column x of line y lands in the model: a column past the line's end runs on into
    // the following text, and nothing lies past the end of the text.
    static size_t Position(const std::string& model, int x, int y) {
        size_t start = 0;
        for (int i = 0; i < y; ++i)
            start = model.find('\n', start) + 1;
        return std::min(start + size_t(x), model.size());
    }

    static std::vector<std::string> Lines(const std::string& model) {
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t nl; (nl = model.find('\n', start)) != std::string::npos; start = nl + 1)
            lines.push_back(model.substr(start, nl - start));
        lines.push_back(model.substr(start));
        return lines;
    }

    void ExpectSame(Handle text, const std::string& model, std::mt19937& random) {
        std::vector<std::string> lines = Lines(model);
        TextHeader* h = text_header(text);
        ASSERT_EQ(h->lines, lines.size() - 1);
        ASSERT_EQ(h->size, model.size() + 1);
        ASSERT_EQ(Content(text), model);
        for (std::string block : Blocks(text))
            ASSERT_LE(block.size(), kTextBlockText);
        // Some lines at random straight after the edits, then every line in increasing order,
        // so the line caches are used both ways.
        for (int k = 0; k < 20; ++k) {
            size_t y = random() % lines.size();
            ASSERT_EQ(Line(text, int(y)), lines[y]) << y;
        }
        for (size_t y = 0; y < lines.size(); ++y)
            ASSERT_EQ(Line(text, int(y)), lines[y]) << y;
    }

    // Text of `n` bytes: letters with a newline now and then (no tabs: the model does not
    // expand them).
    static std::string RandomBytes(std::mt19937& random, size_t n) {
        std::string s;
        for (size_t i = 0; i < n; ++i)
            s += random() % 12 == 0 ? '\n' : char('a' + random() % 26);
        return s;
    }

    void Run(unsigned seed, size_t initial, int steps) {
        std::mt19937 random(seed);
        std::string model = RandomBytes(random, initial);
        Handle text = ReadText("model.txt", model);
        ASSERT_NO_FATAL_FAILURE(ExpectSame(text, model, random));
        for (int step = 0; step < steps; ++step) {
            std::vector<std::string> lines = Lines(model);
            int y = int(random() % lines.size());
            // Mostly inside the line, sometimes past its end.
            int x = int(random() % (lines[size_t(y)].size() + 3));
            size_t at = Position(model, x, y);
            SCOPED_TRACE("seed " + std::to_string(seed) + " step " + std::to_string(step));
            if (random() % 2) {
                // Small inserts mostly; now and then one bigger than a block.
                size_t n = random() % 8 == 0 ? random() % 5000 + 1 : random() % 40 + 1;
                std::string bytes = RandomBytes(random, n);
                ASSERT_EQ(text_insert(text, x, y, bytes.c_str(), int(n)), 0);
                model.insert(at, bytes);
            } else {
                size_t n = random() % 8 == 0 ? random() % 6000 + 1 : random() % 30 + 1;
                ASSERT_EQ(text_delete(text, x, y, int(n)), 0);
                model.erase(at, std::min(n, model.size() - at));
            }
            // Several edits in a row now and then, each finding its line from where the
            // previous one left the caches.
            if (random() % 3 == 0) {
                ASSERT_NO_FATAL_FAILURE(ExpectSame(text, model, random));
            }
        }
        ASSERT_NO_FATAL_FAILURE(ExpectSame(text, model, random));
        // The file holds the text with a line break for every block left without text.
        std::string written;
        for (const std::string& block : Blocks(text))
            written += block.empty() ? "\n" : block;
        ASSERT_EQ(WriteTextFile(text), 0);
        Handle again = CreateText(0, "model.txt", 0);
        ASSERT_EQ(ReadTextFile(again), 0);
        ASSERT_NO_FATAL_FAILURE(ExpectSame(again, written, random));
    }
};

TEST_F(TextModelTest, RandomEditsOfASmallText) {
    for (unsigned seed = 1; seed <= 6; ++seed)
        ASSERT_NO_FATAL_FAILURE(Run(seed, 300, 300));
}

TEST_F(TextModelTest, RandomEditsOfATextOfManyBlocks) {
    for (unsigned seed = 11; seed <= 13; ++seed)
        ASSERT_NO_FATAL_FAILURE(Run(seed, 9000, 250));
}

TEST_F(TextModelTest, RandomEditsOfAnEmptyText) {
    ASSERT_NO_FATAL_FAILURE(Run(21, 0, 300));
}

}  // namespace
