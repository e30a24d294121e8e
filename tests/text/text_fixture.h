// Shared fixture of the text object tests: texts read from files, and views of their blocks.
#pragma once

#include <string>
#include <vector>

#include "kernel/pool.h"
#include "resource/resource.h"
#include "support/test_env.h"
#include "text/text.h"

class TextFixture : public NomaTest {
protected:
    void SetUp() override {
        NomaTest::SetUp();
        ASSERT_TRUE(CreateSystemResources());
    }

    // A text object holding `content`, read from the file `name`.
    Handle ReadText(const std::string& name, const std::string& content) {
        WriteFile(name, content);
        Handle text = CreateText(0, name.c_str(), 0);
        EXPECT_NE(text, 0u);
        EXPECT_EQ(ReadTextFile(text), 0);
        return text;
    }

    // The texts of the blocks from the first block along the chain.
    static std::vector<std::string> Blocks(Handle text) {
        std::vector<std::string> blocks;
        for (Handle b = text_header(text)->first_block; b; b = handle_entry(b)->next)
            blocks.emplace_back(reinterpret_cast<const char*>(handle_body(b)));
        return blocks;
    }

    static std::string Content(Handle text) {
        std::string all;
        for (const std::string& b : Blocks(text))
            all += b;
        return all;
    }

    static std::string Line(Handle text, int y) {
        std::vector<char> out(kTextLineSize);
        const char* got = GetTextLine(text, y, out.data());
        return got ? std::string(got) : std::string("<none>");
    }
};
