// Tags that steer the story: the choice and page-break stops, NoText, expressions on the
// player record, switching the player, the result screen and the automatic save. The drawing
// tags stay in the page for the text drawing and the text effect.
#include <cstring>

#include "core/log.h"
#include "game/scenario.h"
#include "game/scenario_context.h"
#include "game/scenario_internal.h"
#include "host/sjis_literal.h"
#include "resource/compute.h"
#include "window/object.h"

int TagGetPlayer(Handle, const char* parameters) {
    char name[64];
    TagParam(parameters, 1, name, sizeof name);
    if (!g_scenario.get_player) return TAG_DONE;
    if (Handle player = g_scenario.get_player(name)) g_game.player = player;
    return TAG_DONE;
}

int TagResult(Handle task, const char*) {
    if (g_scenario.open_result) g_scenario.open_result(task);
    return TAG_DONE;
}

int TagSelect(Handle task, const char* parameters) {
    std::strncpy(g_scenario.select_list, parameters, kSelectListSize - 1);
    g_scenario.select_list[kSelectListSize - 1] = '\0';
    g_scenario.select_pending = true;
    FillSelectMenu(g_scenario.select_list);
    if (g_scenario.active_select) {
        ShowObject(g_game.main_window, kSelecterObject, g_game.screen.selecter_x,
                   g_game.screen.selecter_y);
        if (g_scenario.enable_load_save) g_scenario.enable_load_save(task, true);
    }
    return TAG_STOP;
}

int TagInput(Handle, const char*) {
    g_scenario.drawing = false;
    return TAG_STOP;
}

int TagNoText(Handle, const char*) {
    return TAG_NO_TEXT;
}

int TagCompute(Handle, const char* parameters) {
    // The expression is the whole parameter text; a separator written after the name is not
    // part of it.
    if (*parameters == ',' || *parameters == ';') ++parameters;
    char expression[kScenarioTextSize];
    std::strncpy(expression, parameters, sizeof expression - 1);
    expression[sizeof expression - 1] = '\0';
    if (g_scenario.highlight_changes) g_scenario.highlight_changes(expression);
    replace_mode_labels(expression);
    LogLine("以下のCompute 実行します"_sj);
    LogLine(expression);
    ComputeRecord(g_game.player, expression, sizeof expression);
    return TAG_DONE;
}

int TagAutoSave(Handle task, const char*) {
    if (g_scenario.auto_save) g_scenario.auto_save(task);
    return TAG_DONE;
}

int TagRestoreSave(Handle task, const char*) {
    if (g_scenario.restore_save) g_scenario.restore_save(task);
    return TAG_DONE;
}

int TagDrawing(Handle, const char*) {
    return TAG_DRAW;
}
