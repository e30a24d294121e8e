// Window objects: records and lists, click routing to the owner, MenuTask and TextTask, the
// INERT and HIDDEN rules, sub-windows, input lines, texts and the failure values.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "kernel/task.h"
#include "resource/resource.h"
#include "text/text.h"
#include "window/graphic.h"
#include "window/object.h"
#include "window/window.h"
#include "window/window_manager.h"
#include "window/window_mouse.h"
#include "window_env.h"

namespace {

class ObjectTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        task_ = NewTask("Owner");
        id_ = TaskId(task_);
        window_ = OpenAt(task_, 20, 20, 240, 180);
        ForgetEvents();
    }
    // A left click at client (x, y) of the window, routed as WindowTask routes it.
    void Click(int x, int y, uint16_t buttons = 1) {
        route_click(client_left(window_) + x, client_top(window_) + y, buttons);
    }
    // The object numbers of the notices sent to task `id`.
    std::vector<uint32_t> Notices(uint32_t id) {
        std::vector<uint32_t> numbers;
        for (const EventRecord& e : EventsTo(id))
            if (e.code == EVENT_OBJECT_NOTICE) numbers.push_back(e.long_a);
        return numbers;
    }
    uint32_t Flags(Handle object) { return object_record(object)->flags; }
    using Numbers = std::vector<uint32_t>;

    Handle task_ = 0;
    uint32_t id_ = 0;
    Handle window_ = 0;
};

TEST_F(ObjectTest, RecordsAreAppendedAndFoundByNumberAndKind) {
    Handle a = Button(window_, 7, 10, 10, 40, 20);
    Handle b = CheckButton(window_, 8, 60, 10);
    Handle c = Button(window_, 9, 10, 40, 40, 20);
    ASSERT_TRUE(a && b && c);
    const ObjectRecord& r = *object_record(a);
    EXPECT_EQ(r.kind, OBJ_BUTTON);
    EXPECT_EQ(window_mode(r.window), kObjectWindowMode);
    EXPECT_EQ(window_record(r.window)->parent, window_);
    EXPECT_EQ(window_record(window_)->first_object, a);
    EXPECT_EQ(window_record(window_)->last_object, c);
    EXPECT_EQ(window_record(object_record(b)->window)->width, 12);
    // An object and its window are different records: neither passes for the other.
    EXPECT_EQ(window_record(a), nullptr);
    EXPECT_EQ(object_record(r.window), nullptr);

    EXPECT_EQ(ReqObject(window_, 8), b);
    EXPECT_EQ(ReqObject(window_, 99), 0u);
    EXPECT_EQ(ObjectCount(window_, OBJ_BUTTON), 2);
    EXPECT_EQ(NthObject(window_, OBJ_BUTTON, 2), c);
    EXPECT_EQ(NthObject(window_, OBJ_BUTTON, 3), 0u);

    DestroyObject(window_, 8);
    EXPECT_EQ(object_record(a)->next, c);
    EXPECT_EQ(object_record(c)->back, a);
    EXPECT_EQ(object_record(b), nullptr);
    DestroyWindow(window_);
    EXPECT_EQ(object_record(a), nullptr) << "objects go with their window";
    EXPECT_EQ(ObjectOn(window_, 7), -1);
}

// (How big each kind is drawn shows in the objects golden.)
TEST_F(ObjectTest, OneHelpLineAScrollBarThatMovesWholeAndFramedSubWindows) {
    HelpMessage(window_, 3);
    EXPECT_EQ(HelpMessage(window_, 4), 0u);
    EXPECT_TRUE(Logged("CreateHelpMessageを２重作成しようとしました"_sj));

    Handle elevator = ScrollBar(window_, 10, 200, 20, 100);
    EXPECT_EQ(object_record(elevator)->number, 10);
    EXPECT_EQ(window_record(object_record(elevator)->window)->height, 100 - 32);
    EXPECT_EQ(window_record(object_record(ReqObject(window_, 12))->window)->y, 20 + 100 - 16);
    MoveScrollBar(window_, 10, 180, 30);
    EXPECT_EQ(window_record(object_record(ReqObject(window_, 11))->window)->y, 30);
    EXPECT_EQ(window_record(object_record(ReqObject(window_, 12))->window)->y, 30 + 100 - 16);
    EXPECT_EQ(window_record(object_record(elevator)->window)->x, 180);
    Handle sub = SubWindow(window_, 6, 0, 0, 50, 50, WIN_FRAME);
    EXPECT_EQ(window_mode(object_record(sub)->window), kObjectWindowMode | WIN_FRAME);
    EXPECT_TRUE(Flags(sub) & OBJ_SUBWINDOW);
}

TEST_F(ObjectTest, TextsLongerThanTheFieldAreCutAtACharacterBoundary) {
    std::string text = "A";
    for (int i = 0; i < 40; ++i)
        text += "あ"_sj;  // 1 + 80 bytes
    Handle button = MessageButton(window_, 1, 0, 0, text.c_str());
    const char* kept = object_record(button)->text;
    EXPECT_EQ(std::strlen(kept), 67u) << "1 + 33 double-byte characters";
    EXPECT_EQ(text.compare(0, 67, kept), 0);
    EXPECT_EQ(LogCount("object text too long (81 bytes), cut to 67"), 1);
    EXPECT_EQ(window_record(object_record(button)->window)->width, 8 * (67 + 2) + 10);
}

TEST_F(ObjectTest, TheLaterOfTwoOverlappingObjectsTakesTheClick) {
    Handle first = Button(window_, 1, 10, 10, 60, 30);
    Handle second = Button(window_, 2, 40, 20, 60, 30);
    window_depth();
    Click(50, 25);
    EXPECT_EQ(Notices(id_), Numbers{2});
    EXPECT_TRUE(Flags(second) & OBJ_ON) << "a push button toggles";
    EXPECT_FALSE(Flags(first) & OBJ_ON);
    const EventRecord e = EventsTo(id_).back();
    EXPECT_EQ(e.value, window_);
    Handle data;
    std::memcpy(&data, e.data, sizeof data);
    EXPECT_EQ(data, second);
    ForgetEvents();
    Click(20, 15);
    EXPECT_EQ(Notices(id_), Numbers{1});
    ForgetEvents();
    Click(200, 150);  // no object: a plain mouse event
    EXPECT_EQ(CodesTo(id_), std::vector<uint16_t>{EVENT_MOUSE_DOWN});
}

TEST_F(ObjectTest, InertAndHiddenObjectsAreNotActedOn) {
    Handle inert = Button(window_, 1, 10, 10, 60, 30);
    Handle hidden = Button(window_, 2, 10, 60, 60, 30);
    Handle check = CheckButton(window_, 3, 100, 10);
    window_depth();
    SetObjectFlags(window_, 1, OBJ_INERT);
    SetObjectFlags(window_, 2, OBJ_HIDDEN);
    SetObjectFlags(window_, 3, OBJ_HIDDEN);
    Click(20, 20);
    Click(20, 70);
    Click(105, 15);
    EXPECT_FALSE(Flags(inert) & OBJ_ON);
    EXPECT_FALSE(Flags(hidden) & OBJ_ON);
    EXPECT_TRUE(Flags(check) & OBJ_ON) << "a hidden check button still toggles";
    EXPECT_EQ(Notices(id_), (Numbers{1, 2, 3})) << "the owner hears of every click";

    // A hidden sub-window takes no click at all.
    clear_window_mode(object_record(check)->window, WIN_SHOW);
    ForgetEvents();
    Click(105, 15);
    EXPECT_EQ(CodesTo(id_), std::vector<uint16_t>{EVENT_MOUSE_DOWN});

    EXPECT_EQ(ClearObjectFlags(window_, 1, OBJ_INERT), 1);
    EXPECT_EQ(ClearObjectFlags(window_, 1, OBJ_INERT), 0);
    EXPECT_EQ(SetAllObjectFlags(window_, OBJ_HIDDEN), 1) << "two were hidden already";
    EXPECT_EQ(ClearAllObjectFlags(window_, OBJ_HIDDEN), 3);
}

TEST_F(ObjectTest, ObjectsRouteToMenuTaskAndTextTaskByKind) {
    Handle popup = Popupmenu(window_, 1, 10, 10, 100, 100, 0);
    Button(window_, 2, 10, 10, 40, 20);  // under... no: later, so on top
    Handle input = CreateMessageLine(window_, 3, 10, 120, 10, task_);
    Handle selecter = Selecter(window_, 4, 150, 10, 60, 60, 0, 0);
    Handle graphic = GraphicObject(window_, 5, 150, 100, 60, 60, 0);
    set_window_mode(object_record(graphic)->window, WIN_SHOW);
    ASSERT_TRUE(popup && input && selecter);
    window_depth();

    Click(60, 60, 1);  // the popup ignores state 1 and nothing lies under it
    EXPECT_TRUE(Notices(TASK_ID_MENU).empty());
    EXPECT_EQ(CodesTo(id_), std::vector<uint16_t>{EVENT_MOUSE_DOWN});
    ForgetEvents();
    Click(60, 60, 2);
    EXPECT_EQ(Notices(TASK_ID_MENU), Numbers{1});
    EXPECT_TRUE(Notices(id_).empty()) << "the popup's notice goes to MenuTask only";
    ForgetEvents();
    SetObjectFlags(window_, 1, OBJ_INERT);
    Click(60, 60, 2);
    EXPECT_TRUE(Notices(TASK_ID_MENU).empty());
    ForgetEvents();

    Click(20, 125);
    EXPECT_EQ(Notices(TASK_ID_TEXT), Numbers{3});
    EXPECT_EQ(Notices(id_), Numbers{3});
    ForgetEvents();
    Click(160, 20);
    EXPECT_EQ(Notices(TASK_ID_MENU), Numbers{4});
    EXPECT_EQ(Notices(id_), Numbers{4});
    ForgetEvents();
    Click(160, 110);  // graphic objects never take clicks
    EXPECT_EQ(CodesTo(id_), std::vector<uint16_t>{EVENT_MOUSE_DOWN});
}

TEST_F(ObjectTest, ASubWindowPassesTheClickToItsOwnObjectsOrEndsTheSearch) {
    Handle under = Button(window_, 1, 0, 0, 200, 150);
    Handle sub = SubWindow(window_, 2, 20, 20, 150, 100, 0);
    Handle inner_window = object_record(sub)->window;
    Handle inner = Button(inner_window, 5, 10, 10, 50, 30);
    window_depth();
    Click(35, 35);  // on the inner button
    EXPECT_EQ(Notices(id_), Numbers{5});
    EXPECT_EQ(EventsTo(id_).back().value, inner_window);
    EXPECT_TRUE(Flags(inner) & OBJ_ON);
    ForgetEvents();
    Click(150, 100);  // inside the sub-window, on none of its objects
    EXPECT_FALSE(Flags(under) & OBJ_ON) << "the object below does not get it";
    EXPECT_EQ(CodesTo(id_), std::vector<uint16_t>{EVENT_MOUSE_DOWN});
}

TEST_F(ObjectTest, InputLinesHoldTheirTextAndTheirVariantsTheirRestrictions) {
    Handle plain = CreateMessageLine(window_, 1, 10, 10, 12, task_);
    Handle digits = CreateNumericLine(window_, 2, 10, 40, 5, task_);
    Handle bytes = CreateByteLine(window_, 3, 10, 70, 5, task_);
    ASSERT_TRUE(plain && digits && bytes);
    EXPECT_EQ(object_record(plain)->kind, OBJ_INPUT);
    EXPECT_EQ(text_header(object_record(digits)->data)->flags & 0x6000u, 0x6000u);
    EXPECT_EQ(text_header(object_record(bytes)->data)->flags & 0x6000u, 0x2000u);
    EXPECT_EQ(text_header(object_record(plain)->data)->flags & 0x6000u, 0u);
    TextLineState s;
    std::memcpy(&s, object_record(plain)->text, sizeof s);
    EXPECT_EQ(s.visible_columns, 12) << "a line of 12 characters holds 12 bytes";

    char buffer[kTextLineCapacity + 1];
    EXPECT_STREQ(GetInputText(window_, 1, buffer), "demo text");
    EXPECT_EQ(PutInputText(window_, 1, "新しい"_sj), 0);
    EXPECT_STREQ(GetInputText(window_, 1, buffer), "新しい"_sj);
    EXPECT_EQ(PutInputNumber(window_, 2, -42), 0);
    EXPECT_EQ(GetInputNumber(window_, 2), -42);
    EXPECT_EQ(GetInputNumber(window_, 1), -1) << "no number in the text";
    EXPECT_EQ(PutInputText(window_, 1, std::string(129, 'x').c_str()), 1);

    EXPECT_EQ(GetInputText(window_, 9, buffer), nullptr);
    EXPECT_TRUE(Logged("Object番号指定ミス GetInputText"_sj));
    Button(window_, 4, 200, 10, 10, 10);
    EXPECT_EQ(GetInputText(window_, 4, buffer), nullptr) << "not an input line";
    EXPECT_EQ(CreateMessageLine(window_, 5, 0, 0, 0, task_), 0u);
    EXPECT_TRUE(Logged("    CreateMessageLine null error"));
}

TEST_F(ObjectTest, MessageObjectsShareOneTextResourceAndRefuseTooLongTexts) {
    Handle a = Message(window_, 1, 10, 10, 100, 50, 0);
    Handle b = Message(window_, 2, 10, 70, 100, 50, 0);
    char name[32];
    std::snprintf(name, sizeof name, "TEXTWORK%u", id_);
    Handle resource = FindResource(name, "TEXT");
    ASSERT_NE(resource, 0u);
    EXPECT_EQ(handle_entry(object_record(a)->data)->owner, resource);
    EXPECT_EQ(handle_entry(object_record(b)->data)->owner, resource);
    EXPECT_EQ(SetMessageObject(window_, 1, "はじめ"_sj), a);
    EXPECT_STREQ(MessageObjectText(a), "はじめ"_sj);
    EXPECT_STREQ(MessageObjectText(b), "");
    EXPECT_EQ(SetMessageObject(window_, 1, std::string(2048, 'x').c_str()), 0u);
    EXPECT_TRUE(Logged("SetMessageObject() text length error"));
    EXPECT_STREQ(MessageObjectText(a), "はじめ"_sj);
    EXPECT_EQ(SetMessageObject(window_, 1, std::string(2047, 'x').c_str()), a);
    Button(window_, 3, 0, 0, 5, 5);
    EXPECT_EQ(SetMessageObject(window_, 3, "x"), 0u) << "not a message object";
}

TEST_F(ObjectTest, OpenSubWindowSendsAnOpenRequestOrARedraw) {
    Handle sub = SubWindow(window_, 1, 10, 10, 80, 60, 0);
    Handle w = object_record(sub)->window;
    clear_window_mode(w, WIN_SHOW);
    OpenSubWindow(sub, 5, 6);
    EXPECT_TRUE(test_window_mode(w, WIN_SHOW));
    std::vector<EventRecord> requests = EventsTo(TASK_ID_WINDOW);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].code, EVENT_WINDOW_OPEN);
    EXPECT_EQ(requests[0].value, w);
    EXPECT_EQ(int16_t(requests[0].word_a), 5);
    OpenSubWindow(sub, 5, 6);
    EXPECT_TRUE(Logged("OpenSubWindow()ですでにWINDOWshowが起きている。"_sj));
    EXPECT_EQ(CodesTo(id_), std::vector<uint16_t>{EVENT_REQ_DRAW});
    CloseSubWindow(sub);
    EXPECT_FALSE(test_window_mode(w, WIN_SHOW));
    EXPECT_EQ(EventsTo(TASK_ID_WINDOW).back().code, EVENT_WINDOW_CLOSE);
}

}  // namespace
