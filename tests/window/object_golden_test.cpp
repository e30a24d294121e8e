// What players see of window objects: every kind in its states (normal, pressed, ticked,
// inert, hidden), compared pixel for pixel with tests/golden/objects.png. Run with
// NOMA_UPDATE_GOLDEN=1 to write the reference anew (then look at it before committing).
#include <gtest/gtest.h>

#include "host/bitmap.h"
#include "host/raster_target.h"
#include "host/sjis_literal.h"
#include "kernel/task.h"
#include "window/colors.h"
#include "window/gc.h"
#include "window/graphic.h"
#include "window/object.h"
#include "window/window.h"
#include "window/window_file.h"
#include "window/window_manager.h"
#include "window_env.h"

namespace {

class ObjectGoldenTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        UseScreen(640, 400, "BACKSCREEN_COLOR 25\n");
        owner_ = NewTask("Scene");
        ForgetEvents();
    }

    Handle owner_ = 0;
};

// A picture: a blend from teal to orange with a white diagonal.
Handle MakePicture(Handle owner, int width, int height) {
    Handle graphic = CreateGraphic(owner, 0, width, height);
    RasterTarget t = HostBitmapTarget(graphic_record(graphic)->bitmap);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            t.Row(y)[x] = x == y ? 0xFFFFFF : RGBColor(40 + x * 3, 120, 160 - y * 2);
    return graphic;
}

TEST_F(ObjectGoldenTest, EveryKindInEveryState) {
    Handle w = create_window(owner_, 0, 620, 370, WIN_CONTROLBAR | WIN_FRAME);
    set_window_gc(
        w, CreateGC(RGBColor(200, 196, 180), RGBColor(250, 248, 240), RGBColor(110, 104, 90), 0));
    Button(w, 1, 10, 10, 80, 24);
    Button(w, 2, 100, 10, 80, 24);
    SetObjectFlags(w, 2, OBJ_ON);
    Button(w, 3, 190, 10, 80, 24);
    SetObjectFlags(w, 3, OBJ_HIDDEN);  // leaves a gap
    CheckButton(w, 4, 290, 16);
    CheckButton(w, 5, 310, 16);
    SetObjectFlags(w, 5, OBJ_ON);
    CheckButton(w, 6, 330, 16);
    SetObjectFlags(w, 6, OBJ_ON | OBJ_INERT);

    MessageButton(w, 10, 10, 50, "決定"_sj);
    MessageButton(w, 11, 110, 50, "押下 OK"_sj);
    SetObjectFlags(w, 11, OBJ_ON);
    MessageButton(w, 12, 230, 50, "Inert"_sj);
    SetObjectFlags(w, 12, OBJ_INERT);
    SetObjectOn(w, 12);
    Label(w, 13, 340, 50, "ラベル Label"_sj);

    CreateMessageLine(w, 20, 10, 100, 12, owner_);
    CreateNumericLine(w, 21, 150, 100, 6, owner_);
    PutInputNumber(w, 21, 1234);

    GraphicObject(w, 30, 10, 140, 64, 48, MakePicture(owner_, 64, 48));
    GraphicObject(w, 31, 10, 200, 64, 48, 0);  // no picture: hidden
    Message(w, 32, 90, 140, 220, 90, 0);
    SetMessageObject(
        w, 32, "メッセージ領域の文字です。<font_color red>タグは出ない。\n二行目 line two"_sj);

    ScrollBar(w, 40, 590, 10, 200);
    SetScrollRange(w, 40, 0, 10);
    SetScrollPosition(w, 40, 3);
    CreateObject(w, 43, OBJ_LEFT, 550, 10, 16, 16);
    CreateObject(w, 44, OBJ_RIGHT, 570, 10, 16, 16);
    Handle selecter_gc = CreateGC(RGBColor(230, 230, 250), 0xFFFFFF, RGBColor(90, 90, 140), 0);
    Selecter(w, 50, 330, 140, 100, 80, 0, selecter_gc);
    MenuBarItem(w, 51, 450, 140, 80, 20, 0);

    Handle sub = SubWindow(w, 60, 330, 240, 160, 70, WIN_GCFILL);
    Handle inner = object_record(sub)->window;
    set_window_gc(inner, selecter_gc);
    MessageButton(inner, 61, 10, 10, "内側"_sj);
    CheckButton(inner, 62, 120, 20);
    set_window_mode(inner, WIN_OPEN);  // as its open request leaves it

    HelpMessage(w, 70);
    open_window(w, 6, 22);
    AnswerDraws(owner_);
    SetHelpMessage(w, "ヘルプ行の文字 help"_sj);
    CompareGolden("objects.png");

    // Pressing and releasing a text button leaves it as it was.
    set_window_mode(w, WIN_DRAWABLE);
    action_button(ReqObject(w, 10));
    CompareGolden("objects.png");
}

TEST_F(ObjectGoldenTest, AWindowFromADefinitionFile) {
    WriteFile("entry.win",
              "Width 300\nHeight 150\nControlbar on\nFrame on\nCloseBox yes\n"
              "MessageButton 1 200 100 OK\nMessageButton 2 110 100 Cancel\n"
              "CheckButton 3 20 20\nInputMessage 4 40 16 16\n"
              "InputNumeric 5 40 50 4\nInputByte 6 120 50 8\n");
    Handle w = ReadWindowFile(owner_, "entry.win");
    ASSERT_NE(w, 0u);
    SetObjectOn(w, 3);
    PutInputText(w, 6, "ABC");
    open_window(w, 150, 100);
    AnswerDraws(owner_);
    CompareGolden("window_file.png");
}

}  // namespace
