// Pages of the story: entering the next scenario record (serving the scenario's requests and
// running the record's expression), playing one page of its text into the message object
// through the text effect, and taking a choice of the select menu.
#include <cstring>

#include "core/log.h"
#include "game/scenario.h"
#include "game/scenario_context.h"
#include "game/scenario_internal.h"
#include "host/sjis_literal.h"
#include "present/effect_data.h"
#include "resource/compute.h"
#include "resource/resource.h"
#include "text/text.h"
#include "window/colors.h"
#include "window/object.h"

ScenarioContext g_scenario;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kDefaultGreen = 0x28961E;  // red 30, green 150, blue 40

// Request values of the player's ILVrequest.
enum Request : int32_t {
    REQUEST_BAD_END = 2,
    REQUEST_RESULT = 3,
    REQUEST_AUTO_ON = 4,
    REQUEST_AUTO_OFF = 5,
    REQUEST_AUTO_SAVE = 7,
    REQUEST_RESTORE = 8,
};

void set_auto_play(Handle task, bool on) {
    if (g_scenario.set_auto_play) g_scenario.set_auto_play(task, on);
    if (get_adr(g_game.player, "auto_play", ITEMlong))
        SetNum(g_game.player, "auto_play", on ? 1 : 0);
}

}  // namespace

void EnterScenarioRecord(Handle record) {
    const char* text = GetStr(record, "TEXT");
    size_t length = text ? strnlen(text, kScenarioTextSize - 1) : 0;
    std::memcpy(g_scenario.text, text ? text : "", length);
    g_scenario.text[length] = '\0';
    g_scenario.continuation = 0;
    char* stored = GetStr(record, "Compute");
    if (!stored || !stored[0]) return;
    char expression[kScenarioTextSize];
    ResolveStoredExpression(stored, expression, sizeof expression);
    ComputeRecord(g_game.player, expression, sizeof expression);
}

void ResetScenario() {
    g_scenario = ScenarioContext{};
}

int run_request(Handle task) {
    Handle player = g_game.player;
    int32_t request = GetNum(player, "ILVrequest");
    switch (request) {
        case REQUEST_BAD_END:
            if (g_scenario.bad_end) g_scenario.bad_end(task);
            return request;
        case REQUEST_RESULT:
            if (g_scenario.open_result) g_scenario.open_result(task);
            break;
        case REQUEST_AUTO_ON:
        case REQUEST_AUTO_OFF:
            set_auto_play(task, request == REQUEST_AUTO_ON);
            break;
        case REQUEST_AUTO_SAVE:
            if (g_scenario.auto_save) g_scenario.auto_save(task);
            break;
        case REQUEST_RESTORE:
            if (g_scenario.restore_save) g_scenario.restore_save(task);
            break;
        default:
            return request;
    }
    SetNum(player, "ILVrequest", 0);
    return request;
}

int action_ilvane(Handle task) {
    LogLine("action_ilvane() in");
    if (g_scenario.drawing) {
        LogLine("action_ilvane()が呼ばれましたが、描画中によりキャンセル"_sj);
        return 1;
    }
    if (g_scenario.continuation == kNoContinuation) {
        run_request(task);
        g_scenario.record = find_scenario_record(task);
        if (g_scenario.record) EnterScenarioRecord(g_scenario.record);
    }
    text_step(task);
    return 0;
}

int text_step(Handle task) {
    if (!g_scenario.record) return 1;
    if (g_scenario.continuation == kNoContinuation) return 0;
    char page[kScenarioTextSize];
    int result = exec_command(task, g_scenario.text + g_scenario.continuation, page);
    if (result == 3) {
        LogLine("NoText");
        ShowObject(g_game.main_window, kSelecterObject, g_game.screen.selecter_x,
                   g_game.screen.selecter_y);
        if (g_scenario.enable_load_save) g_scenario.enable_load_save(task, true);
        return 0;
    }
    if (g_scenario.debug)
        ShowDebugText(220, 50, 570, 20, ColorByName("darkgray"), 230, 55, page, kDefaultGreen);
    show_message(task, page);
    return 0;
}

int show_message(Handle task, char* text) {
    if (std::strlen(text) < 3) {
        LogLine("短いメッセージ（3文字以下）を表示しようとしました 下行表示"_sj);
        LogLine(text);
        if (!g_scenario.select_pending) {
            g_scenario.drawing = false;
            return 1;
        }
        LogLine("Select表示催促のため、表示を行います"_sj);
    }
    Handle object = SetMessageObject(g_game.main_window, kMessageObject, text);
    if (!object) return 1;
    g_scenario.drawing = true;
    SendEffectRequest(task, EFFECT_TEXT, object, 0, kWhite);
    delete_tag(text);
    Handle log = g_game.message_log;
    if (text_header(log)) {
        CursorToEnd(log);
        const TextHeader* h = text_header(log);
        text_insert(log, h->cursor_x, h->cursor_y, text, int(std::strlen(text)));
        // The cursor has stayed in front of the page: the break goes before it.
        WordInsert(log, "\n");
    }
    return 0;
}

void SelectMenu(Handle task, int value) {
    g_scenario.select_pending = false;
    if (g_scenario.enable_load_save) g_scenario.enable_load_save(task, false);
    if (!g_scenario.active_select) HideObject(g_game.main_window, kSelecterObject);
    LogLinef("SelectMenu %d active_selectmode %d", value, g_scenario.active_select ? 1 : 0);
    g_scenario.drawing = false;
    Handle player = g_game.player;
    if (GetNum(player, "old_mode") == value)
        SetNum(player, "count", GetNum(player, "count") + 1);
    else
        SetNum(player, "count", 0);
    SetNum(player, "mode", value);
    g_scenario.continuation = kNoContinuation;
    action_ilvane(task);
}
