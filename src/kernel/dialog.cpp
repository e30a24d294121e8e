// Running the system dialogs. The windows are the window system's; what a dialog shows, how it
// is answered and what the answers do are decided here. While a dialog runs, the calling task
// polls the input every 10 ms (the host's main thread keeps presenting the screen), and a
// close of the main window ends the dialog unanswered so that the shutdown can go on.
#include "kernel/dialog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/lines.h"
#include "core/log.h"
#include "core/system.h"
#include "host/file.h"
#include "host/input.h"
#include "host/message_box.h"
#include "host/screen.h"
#include "host/services.h"
#include "host/sjis_literal.h"
#include "kernel/dialog_hooks.h"
#include "kernel/event.h"
#include "kernel/key_task.h"
#include "kernel/manager.h"
#include "kernel/scheduler.h"
#include "resource/task_record.h"

DialogHooks g_dialog_hooks = {};

namespace {

constexpr const char* kMessageFile = "SYSTEM.MSG";
constexpr uint16_t kReturnKey = 13;
constexpr uint16_t kEscapeKey = 15;
constexpr uint32_t kGuardTicks = 100;  // one second before a dialog looks at the input

char dialog_text[kDialogTextSize];

bool open_dialog(int dialog) {
    return g_dialog_hooks.open && g_dialog_hooks.open(dialog);
}

void close_dialog(int dialog) {
    if (g_dialog_hooks.close) g_dialog_hooks.close(dialog);
}

void draw_text(int dialog, int x, int y, const char* text) {
    if (g_dialog_hooks.text && text) g_dialog_hooks.text(dialog, x, y, text);
}

int char_width() {
    return g_dialog_hooks.char_width ? g_dialog_hooks.char_width() : 16;
}

int line_height() {
    return g_dialog_hooks.line_height ? g_dialog_hooks.line_height() : 20;
}

// The detail text up to its first line feed, centred on the dialog at y.
void draw_centred(int dialog, int y, const char* detail) {
    if (!detail) return;
    char line[kLineFileMaxLine + 1];
    std::snprintf(line, sizeof line, "%s", detail);
    line[std::strcspn(line, "\n")] = '\0';
    int width = g_dialog_hooks.width ? g_dialog_hooks.width(dialog) : 0;
    int length = int(std::strlen(line));
    int x = std::max(1, width / 2 - (length * char_width() / 2) / 2);
    draw_text(dialog, x, y, line);
}

// Line `number` of SYSTEM.MSG drawn at (x, y); nothing when the file has no such line.
void draw_message_line(int dialog, int x, int y, int number) {
    char line[kLineFileMaxLine + 1];
    if (read_line_file(kMessageFile, line, number)) draw_text(dialog, x, y, line);
}

// The value of the button under the cursor while the left button is down, after the button
// is released again (so that the press does not reach the window under the dialog), or 0.
int pressed_button(int dialog) {
    if (!(HostMouseButtons() & MOUSE_LEFT) || !g_dialog_hooks.button_at) return 0;
    int value = g_dialog_hooks.button_at(dialog, HostCursorX(), HostCursorY());
    if (!value) return 0;
    if (g_dialog_hooks.press) g_dialog_hooks.press(dialog, value, true);
    while (HostSleep() & MOUSE_LEFT) {
        if (HostCloseWaiting()) break;
    }
    if (g_dialog_hooks.press) g_dialog_hooks.press(dialog, value, false);
    return value;
}

// The guard second, then a button or any key answers. 0 for a key.
int run_dialog(int dialog) {
    Delay(kGuardTicks);
    HostSleep();  // input that came during the guard is applied now, then looked at
    for (;;) {
        if (HostCloseWaiting()) return 0;
        if (int value = pressed_button(dialog)) return value;
        if (HostReadKey() != 0) return 0;
        HostSleep();
    }
}

const char* task_name(Handle task) {
    const TaskRecord* t = task_record(task);
    if (!t && TestSystemFlag(FLAG_TASK)) t = task_record(g_current_task);
    return t ? t->name : "";
}

}  // namespace

const char* DialogText() {
    return dialog_text;
}

void CreateSystemDialogs(Handle task) {
    dialog_text[0] = '\0';
    if (!g_dialog_hooks.create) return;  // no window system: nothing to create or check
    unsigned made = g_dialog_hooks.create(task);
    auto missing = [made](int dialog) { return !(made & (1u << dialog)); };
    if (missing(DIALOG_ERROR) || missing(DIALOG_SYSTEM_MESSAGE))
        HostMessageBox("SYSTEM DLGの作成に失敗しました"_sj);
    if (missing(DIALOG_MESSAGE) || missing(DIALOG_YES_NO)) SystemMessageDialog(71, nullptr);
}

int SystemMessageDialog(int number, const char* detail) {
    if (!open_dialog(DIALOG_SYSTEM_MESSAGE)) return 1;
    draw_message_line(DIALOG_SYSTEM_MESSAGE, 20, 10, number);
    draw_centred(DIALOG_SYSTEM_MESSAGE, 5 * line_height(), detail);
    run_dialog(DIALOG_SYSTEM_MESSAGE);
    close_dialog(DIALOG_SYSTEM_MESSAGE);
    return 0;
}

void SystemErrorReport(Handle task, int number, const char* detail) {
    bool shown = open_dialog(DIALOG_ERROR);
    if (!shown) HostMessageBox("NOMAで障害が発生しましたが、エラー表示ができません！"_sj);
    char text[128];
    std::snprintf(text, sizeof text, "%sでエラーが発生！"_sj, task_name(task));
    LogLine(text);
    draw_text(DIALOG_ERROR, 10, 15, text);
    ClockRecord now = ClockNow();
    std::snprintf(text, sizeof text, "(%d/%d %2d:%2d)", ClockMonth(now), ClockDay(now),
                  ClockHour(now), ClockMinute(now));
    LogLine(text);
    draw_text(DIALOG_ERROR, 30, 35, text);
    draw_message_line(DIALOG_ERROR, 20, 2 * line_height() + 10, number);
    draw_centred(DIALOG_ERROR, 5 * line_height(), detail);
    // Without its window nobody could answer the report: it ends as if dismissed by a key.
    int answer = shown ? run_dialog(DIALOG_ERROR) : 0;
    if (answer == 1) {
        SetSystemFlag(FLAG_ERROR_REPORT);
        RequestShutDown(g_tasks.manager);
    } else if (answer == 2) {
        WriteCoreDump();
        close_dialog(DIALOG_ERROR);
        HostCloseScreen();
        SetSystemFlag(FLAG_STOP);  // the program thread leaves its cycles at once
        return;
    }
    close_dialog(DIALOG_ERROR);
}

int MessageDialog(const char* text) {
    if (!open_dialog(DIALOG_MESSAGE)) {
        LogLine("DLG OPEN ERROR!");
        return 1;
    }
    std::snprintf(dialog_text, sizeof dialog_text, "%s", text ? text : "");
    draw_text(DIALOG_MESSAGE, char_width(), line_height(), dialog_text);
    int answer = run_dialog(DIALOG_MESSAGE);
    close_dialog(DIALOG_MESSAGE);
    return answer;
}

int YesNoDialog(const char* text) {
    if (!open_dialog(DIALOG_YES_NO)) return 1;
    std::snprintf(dialog_text, sizeof dialog_text, "%s", text ? text : "");
    draw_text(DIALOG_YES_NO, char_width(), line_height(), dialog_text);
    int answer = 0;
    while (!answer) {
        if (HostCloseWaiting()) {
            answer = 2;  // the system is closing: the safe answer
            break;
        }
        uint16_t key = HostReadKey();
        if (key == kReturnKey)
            answer = 1;
        else if (key == kEscapeKey)
            answer = 2;
        else if (!(answer = pressed_button(DIALOG_YES_NO)))
            HostSleep();
    }
    close_dialog(DIALOG_YES_NO);
    return answer;
}

int WriteCoreDump() {
    FILE* f = HostFileOpen("core.dmp", "wb");
    if (!f) return 0;
    // The system data block first, then the manager's state; the rest of the image is zero.
    std::vector<unsigned char> image(kCoreDumpSize, 0);
    size_t at = 0;
    auto put = [&](const void* data, size_t size) {
        size = std::min(size, image.size() - at);
        std::memcpy(image.data() + at, data, size);
        at += size;
    };
    put(&g_system, sizeof g_system);
    put(&g_manager, sizeof g_manager);
    put(&g_tasks, sizeof g_tasks);
    size_t written = std::fwrite(image.data(), 1, image.size(), f);
    HostFileClose(f);
    return written == image.size() ? 1 : 0;
}
