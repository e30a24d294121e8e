// Window definition files: the size and decoration keys, the line words matched as prefixes,
// unknown words, fields separated by runs of spaces, and refused sizes.
#include <gtest/gtest.h>

#include <string>

#include "kernel/task.h"
#include "window/object.h"
#include "window/window.h"
#include "window/window_file.h"
#include "window/window_manager.h"
#include "window_env.h"

namespace {

class WindowFileTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        task_ = NewTask("Loader");
    }
    Handle Read(const std::string& content) {
        WriteFile("dialog.win", content);
        return ReadWindowFile(task_, "dialog.win");
    }
    uint16_t Kind(Handle window, uint16_t number) {
        ObjectRecord* o = object_record(ReqObject(window, number));
        return o ? o->kind : 0;
    }
    Handle task_ = 0;
};

TEST_F(WindowFileTest, SizeKeysMakeTheWindowAndAMissingOneMakesNone) {
    Handle w = Read("Width 200\nHeight 120\nControlbar on\nFrame yes\nResizeBox off\n");
    ASSERT_NE(w, 0u);
    const WindowRecord& r = *window_record(w);
    EXPECT_EQ(r.width, 200);
    EXPECT_EQ(r.height, 120);
    EXPECT_EQ(r.mode, WIN_CONTROLBAR | WIN_FRAME);
    EXPECT_EQ(r.owner, task_);
    EXPECT_EQ(r.parent, g_window_manager.root);
    EXPECT_FALSE(r.mode & WIN_OPEN) << "made, not opened";

    for (const char* file :
         {"Width 200\nMessageButton 1 2 3 OK\nCheckButton 2 5 5\n",
          "Height 200\nMessageButton 1 2 3 OK\n", "Width 20\nHeight x\n", "Width 0\nHeight 10\n",
          "Width 5000\nHeight 10\n", "Width 99999999999\nHeight 99999999999\n"}) {
        EXPECT_EQ(Read(file), 0u) << file;
    }
    EXPECT_EQ(LogCount("client size 5000 x 10 refused"), 1);
}

TEST_F(WindowFileTest, LineWordsAreMatchedAsPrefixesOfTheLine) {
    Handle w = Read(
        "Width 300\nHeight 200\n"
        "MessageButton 5 10 20 OK\n"
        "MessageButtonLong   6    30   40   Go on\n"  // runs of spaces; the text ends at a space
        "CheckButtons 7 50 60\n"
        "InputMessage 8 10 80 12\n"
        "InputNumericX 9 10 110 4\n"
        "InputByte 10 10 140 6\n"
        "Message 11 1 1 x\n"     // a word of no object
        "checkbutton 12 1 1\n"   // case matters
        " CheckButton 13 1 1\n"  // so does the start of the line
        "Label 14 1 1 text\n");
    ASSERT_NE(w, 0u);
    EXPECT_EQ(Kind(w, 5), OBJ_MESSAGE_BUTTON);
    Handle five = ReqObject(w, 5);
    EXPECT_EQ(window_record(object_record(five)->window)->x, 10);
    EXPECT_EQ(window_record(object_record(five)->window)->y, 20);
    EXPECT_STREQ(object_record(five)->text, "OK");
    EXPECT_TRUE(Logged("num 5 x/y 10/20"));
    EXPECT_TRUE(Logged("MessageButton 5 10 20 OK"));
    EXPECT_STREQ(object_record(ReqObject(w, 6))->text, "Go");
    EXPECT_EQ(window_record(object_record(ReqObject(w, 6))->window)->y, 40);
    EXPECT_EQ(Kind(w, 7), OBJ_CHECK);
    EXPECT_EQ(Kind(w, 8), OBJ_INPUT);
    EXPECT_EQ(Kind(w, 9), OBJ_INPUT);
    EXPECT_EQ(Kind(w, 10), OBJ_INPUT);
    for (uint16_t none : {11, 12, 13, 14})
        EXPECT_EQ(ReqObject(w, none), 0u) << none;
    EXPECT_EQ(window_record(object_record(ReqObject(w, 10))->window)->owner, task_);
}

TEST_F(WindowFileTest, BadObjectLinesMakeNoObjectAndNoCrash) {
    Handle w = Read(
        "Width 100\nHeight 100\nInputMessage 1 0 0 0\nInputByte 2 0 0 999\n"
        "MessageButton\nCheckButton 3\nInputNumeric 4 -99999999 99999999 3\n");
    ASSERT_NE(w, 0u);
    EXPECT_EQ(ReqObject(w, 1), 0u);
    EXPECT_EQ(ReqObject(w, 2), 0u);
    EXPECT_EQ(Kind(w, 0), OBJ_MESSAGE_BUTTON) << "missing fields read as 0";
    EXPECT_EQ(Kind(w, 3), OBJ_CHECK);
    ASSERT_EQ(Kind(w, 4), OBJ_INPUT);
    EXPECT_EQ(window_record(object_record(ReqObject(w, 4))->window)->x, -32768);
}

}  // namespace
