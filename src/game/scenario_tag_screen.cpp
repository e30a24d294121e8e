// Tags that act on the game's windows: the message and selecter objects of the main window,
// the status window and its sheets, the white and black fades, and the start screen's title.
#include "game/scenario.h"
#include "game/scenario_context.h"
#include "game/scenario_internal.h"
#include "host/screen.h"
#include "kernel/event.h"
#include "kernel/task.h"
#include "present/effect_data.h"
#include "window/object.h"

namespace {

int highest_sheet() {
    return g_scenario.highest_sheet ? g_scenario.highest_sheet() : 0;
}

void switch_sheet(int sheet) {
    if (g_scenario.switch_sheet) g_scenario.switch_sheet(sheet);
}

}  // namespace

int TagOpenTitle(Handle task, const char* parameters) {
    SendStringEvent(task, TASK_ID_START_SCREEN, parameters);
    return TAG_DONE;
}

int TagCloseMessage(Handle, const char*) {
    HideObject(g_game.main_window, kMessageObject);
    return TAG_DONE;
}

int TagOpenMessage(Handle, const char*) {
    ShowObject(g_game.main_window, kMessageObject, 80,
               g_screen_height - g_game.screen.text_height - 20);
    return TAG_DONE;
}

int TagOpenSts(Handle task, const char* parameters) {
    int sheet = TagNumber(parameters, 1);
    if (sheet > 0 && sheet <= highest_sheet()) switch_sheet(sheet);
    if (g_scenario.open_status) g_scenario.open_status(task);
    return TAG_DONE;
}

int TagCloseSts(Handle task, const char*) {
    if (g_scenario.close_status) g_scenario.close_status(task);
    return TAG_DONE;
}

int TagSheets(Handle task, const char* parameters) {
    int sheet = TagNumber(parameters, 1);
    if (sheet < 0 || sheet > highest_sheet()) return TAG_DONE;
    switch_sheet(sheet);
    if (g_scenario.redraw_status) g_scenario.redraw_status(task);
    return TAG_DONE;
}

int TagCloseSelect(Handle, const char*) {
    HideObject(g_game.main_window, kSelecterObject);
    return TAG_DONE;
}

int TagWhiteOut(Handle task, const char*) {
    SendEffectRequest(task, EFFECT_WHITE_OUT, 0, 0, 0);
    return TAG_DONE;
}

int TagBlackOut(Handle task, const char*) {
    SendEffectRequest(task, EFFECT_BLACK_OUT, 0, 0, 0);
    return TAG_DONE;
}
