// Typing into the input lines of a window in a running system: an input file clicks a line,
// types single-byte and double-byte characters as the host's character messages deliver them,
// moves the cursor back over two double-byte characters and inserts there; the screen mid-edit,
// with the cursor on, is compared with its golden picture.
#include <string>
#include <vector>

#include "host/clock.h"
#include "host/sjis_literal.h"
#include "kernel/scheduler.h"
#include "support/golden.h"
#include "system/in_process.h"
#include "text/text.h"
#include "window/object.h"
#include "window/text_task.h"
#include "window/window.h"
#include "window/window_manager.h"

namespace {

class TextRun : public InProcessRun {
protected:
    // Script lines clicking at `where` at time t.
    static std::vector<std::string> Click(uint32_t t, const std::string& where) {
        return {std::to_string(t) + " move " + where, std::to_string(t + 10) + " down " + where,
                std::to_string(t + 60) + " up"};
    }
    // Script lines typing the bytes of `text` as character messages from time t, 50 ms apart.
    static std::vector<std::string> Chars(uint32_t t, const std::string& text) {
        std::vector<std::string> lines;
        for (unsigned char c : text) {
            lines.push_back(std::to_string(t) + " char " + std::to_string(c));
            t += 50;
        }
        return lines;
    }
};

TEST_F(TextRun, TypingIntoInputLinesOfAWindow) {
    Handle app = g_tasks.application;
    Handle window = create_window(app, 0, 320, 110, WIN_FRAME | WIN_CONTROLBAR | WIN_TITLE);
    ASSERT_NE(window, 0u);
    set_window_name(window, "入力"_sj);
    ASSERT_NE(CreateMessageLine(window, 1, 20, 20, 24, app), 0u);
    ASSERT_NE(CreateNumericLine(window, 2, 20, 60, 6, app), 0u);
    PutInputText(window, 1, "");
    PutInputText(window, 2, "");
    open_window(window, 120, 100);
    RunFor(300);
    ASSERT_TRUE(test_window_mode(window, WIN_DRAWABLE));

    std::vector<std::string> script;
    auto add = [&](const std::vector<std::string>& lines) {
        script.insert(script.end(), lines.begin(), lines.end());
    };
    add(Click(0, ObjectPoint(window, 2)));
    add(Chars(200, "12a3"));
    add(Click(500, ObjectPoint(window, 1)));
    add(Chars(700, "NOMA " + Sj("日本")));
    add({"1200 key 7", "1250 key 7"});
    add(Chars(1300, Sj("語")));
    Script(script);
    RunFor(1500);

    char buffer[kTextLineCapacity + 1];
    EXPECT_STREQ(GetInputText(window, 2, buffer), "123") << "digits only";
    EXPECT_EQ(std::string(GetInputText(window, 1, buffer)), "NOMA " + Sj("語日本"));
    Handle field = ReqObject(window, 1);
    ASSERT_EQ(g_text_focus, field);
    EXPECT_EQ(text_header(object_record(field)->data)->cursor_x, 7) << "after the inserted 語";

    // The picture with the cursor drawn (it blinks on the second events).
    for (int i = 0;
         i < 3000 && !(text_header(object_record(field)->data)->flags & TEXT_CURSOR_SHOWN); ++i)
        RunCycles();
    CompareScreenGolden("text_input_midedit.png", folder_);
}

}  // namespace
