// What the scenario checker does not judge about the demo's story: its size, its reading length
// and that every page fits its item. That every record is played, every path ends and every
// tag, word and file resolves is the checker's verdict (tests/tools, CheckDemo); that each
// ending and the bad end are reached is played out by the whole-system runs in tests/system.
#include <gtest/gtest.h>

#include <string>

#include "resource/resource.h"
#include "resource/resource_fixture.h"
#include "text/item_data.h"

namespace {

const std::string kGame = std::string(NOMA_SOURCE_DIR) + "/data/demo/";

// Characters a reader reads in a page: Shift-JIS characters outside tags, line breaks not counted.
size_t ReadCharacters(const std::string& text) {
    size_t n = 0;
    bool in_tag = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = uint8_t(text[i]);
        if (c == '<' && !in_tag) {
            in_tag = true;
        } else if (c == '>' && in_tag) {
            in_tag = false;
        } else if (!in_tag && c != '\n' && c != '\r') {
            ++n;
        }
        if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) ++i;  // a lead byte
    }
    return n;
}

class DemoStoryTest : public ResourceTest {};

TEST_F(DemoStoryTest, TheStoryIsLongEnoughAndEveryPageFitsItsItem) {
    for (const char* f : {"story1.txt", "story2.txt", "story3.txt"})
        WriteFile(f, ReadFileBytes(kGame + f));
    Handle play_list = CreateItemData(0, "story1.txt");
    ASSERT_TRUE(play_list);
    ASSERT_TRUE(LoadItemData(0, play_list, "story2.txt"));
    ASSERT_TRUE(LoadItemData(0, play_list, "story3.txt"));
    EXPECT_GE(RecordCount(play_list), 40);

    size_t characters = 0;
    for (Handle r = FirstRecord(play_list); r; r = NextRecord(r)) {
        const std::string text = GetStr(r, "TEXT");
        // The item holds 2048 bytes: a longer page would lose its end, and with it its tags.
        EXPECT_LT(text.size(), 2047u) << "a page was cut: " << GetStr(r, "Compare");
        characters += ReadCharacters(text);
    }
    // 20 to 40 minutes at about 500 characters a minute, counting every branch once.
    EXPECT_GE(characters, 10000u);
    EXPECT_LE(characters, 20000u);
}

}  // namespace
