// What the scenario interpreter needs from the rest of the game: its play state, the records
// and windows it works on, and the game's own actions it triggers (backgrounds, status sheets,
// saves, the result screen), which the game installs as function pointers. One instance,
// g_scenario, owned by the game; the interpreter keeps nothing else between calls.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/pool.h"
#include "game/game_data.h"
#include "host/sound.h"

constexpr size_t kScenarioTextSize = 4096;  // the text buffer and every page output
constexpr size_t kSelectListSize = 256;     // the current select list, NUL included
constexpr int kSelectItems = 9;             // select items a Select tag can fill
constexpr int kCutInSlots = 10;             // cut-in pictures 0 .. 9
constexpr size_t kCutInNameSize = 11;       // a cut-in slot holds at most 10 bytes
constexpr int kNoContinuation = -1;

struct ScenarioContext {
    // Play state.
    Handle record = 0;                       // current scenario record; 0 when none matched
    char text[kScenarioTextSize] = {};       // the current text, edited in place
    int continuation = kNoContinuation;      // offset in `text` where the next page starts
    bool drawing = false;                    // the text effect is drawing a page
    bool select_pending = false;             // a Select tag waits for its choice
    bool debug = false;                      // DebugMode or the debug menu entry
    bool active_select = false;              // ActiveSelect: the selecter shows at once
    char select_list[kSelectListSize] = {};  // the parameter of the last Select tag
    int select_count = 0;                    // non-empty words of the select list
    char cut_in[kCutInSlots][kCutInNameSize] = {};

    // The records and windows the interpreter works on are the game's (g_game, game_data.h):
    // play list, text library, player and graphic-system records, the main window, the select
    // menu, the backlog text and the screen layout.
    uint16_t effect_x = 0;  // the drawing-state numbers of the last 1285 notice
    uint16_t effect_y = 0;

    // Sound goes straight to the host; tests put their own recorders here.
    int (*play_midi)(const char* file) = HostPlayMidi;
    void (*play_wave)(const char* file, int loop) = HostPlayWave;

    // The game's own actions. A pointer left empty makes its tag do nothing.
    void (*show_background_format)(Handle task) = nullptr;                  // BackGraphic
    void (*show_background_file)(Handle task, const char* file) = nullptr;  // BG
    void (*load_bg_format)(Handle task, const char* key) = nullptr;         // BGFormat1-3: key of
                                                                            // "system\ilvane.res"
    void (*open_status)(Handle task) = nullptr;
    void (*close_status)(Handle task) = nullptr;
    void (*redraw_status)(Handle task) = nullptr;
    int (*highest_sheet)() = nullptr;
    void (*switch_sheet)(int sheet) = nullptr;
    int (*highlight_changes)(const char* expression) = nullptr;
    void (*open_result)(Handle task) = nullptr;
    int (*auto_save)(Handle task) = nullptr;
    int (*restore_save)(Handle task) = nullptr;
    Handle (*get_player)(const char* name) = nullptr;  // the new player record, or 0
    bool (*open_cut_in)(Handle task, int slot, const char* file) = nullptr;
    void (*close_cut_in)(Handle task, int slot) = nullptr;
    void (*bad_end)(Handle task) = nullptr;
    void (*set_auto_play)(Handle task, bool on) = nullptr;
    void (*enable_load_save)(Handle task, bool enable) = nullptr;  // side menu LOAD and SAVE
    // Word `position` (0 the mode's item name, 1.. its labels) of mode slot `slot` (1 .. 19) of
    // the mode-name table; nullptr past the table.
    const char* (*mode_word)(int slot, int position) = nullptr;
};

extern ScenarioContext g_scenario;

// Back to a fresh state: no records, no hooks, the host's sound (start-up and tests).
void ResetScenario();
