// The game's task, "Ilvane": its event loop and the state it keeps between cycles besides the
// play state of the interpreter (g_scenario) and the game's data and screen (g_game).
#pragma once

#include <array>
#include <cstdint>

#include "core/pool.h"
#include "kernel/event.h"

// The game's version, in its start line and the window title.
inline constexpr const char* kGameName = "DuskIlvane";
inline constexpr const char* kGameVersion = "0.702";

// Swipe states.
enum SwipeState : int {
    SWIPE_NONE = 0,
    SWIPE_PRESSED = 1,
    SWIPE_LEFT = 2,
    SWIPE_RIGHT = 3,
    SWIPE_SINGLE = 4,
};

struct GameFlow {
    Handle task = 0;
    bool auto_play = false;
    bool auto_play_item = false;  // the player record has an auto_play item
    bool backlog_open = false;
    int swipe = SWIPE_NONE;
    int press_x = 0;  // where the press that started a swipe was
    int press_y = 0;
    uint32_t swipe_work = 0;    // host bitmap under a swipe button (200 x 100)
    Handle button_picture = 0;  // "system\button.bmp"; swipe input needs it
    bool light_phase = false;   // the debug light's half of its second
    // The main window changed while it could not be drawn (a redraw motion was running): it is
    // drawn again once the motion has ended.
    bool redraw_pending = false;
    // Windows of the game asked to draw while they could not be drawn into (first entries
    // used); drawn when the redraw motion is over.
    std::array<Handle, 16> late_draws = {};
};

extern GameFlow g_flow;

// Back to a fresh flow (start-up and tests).
void ResetGameFlow();

// The task function of "Ilvane".
void game_task(Handle task);
// One event of the game's event loop; false when the handler ended the call early.
bool handle_game_event(Handle task, const EventRecord& e);
// The work of a cycle after its event: Ctrl held turns one page per cycle.
void game_cycle_end(Handle task);

// Builds the game: fonts, data, screen, menus, swipe pictures, the first record. False when
// the data cannot be loaded ("DuskIlvane create form ERROR").
bool create_form(Handle task, const EventRecord& start);
// The start event (257).
void game_start(Handle task, const EventRecord& e);

// Opens the save window: mode 1 save, 2 load, 3 result. Returns 1.
int open_save_window(Handle task, int mode);
// Closes the save window.
void close_save_window(Handle task);
// The player's "go on": finishes a page being drawn, else plays the next page, or starts a
// swipe over a pending choice. Returns 1.
int press(Handle task, const EventRecord& e);
// Destroys the main window, frees the menus and asks for the shutdown.
void end_game(Handle task);
// "バッドエンド！", then end_game.
void bad_end(Handle task);

// The prompt line under the page: "PushAnyKey" when a page is done, "Select Menu" (with the
// selecter shown and LOAD and SAVE selectable) when a choice waits.
void prompt_page_done(Handle task);
void prompt_select(Handle task);
// LOAD and SAVE of the side menu selectable or not.
void enable_load_save(Handle task, bool enable);
// Auto play on or off; the player's auto_play follows when the record has one.
void set_auto_play(Handle task, bool on);
// Marks the main window for drawing again.
void redraw_main_window();

// The key event (512).
bool game_key(Handle task, const EventRecord& e);
// The menu event (1043).
void game_menu(Handle task, const EventRecord& e);
// A debug menu or side menu action by its value.
void run_menu_action(Handle task, int value);
// The debug light's square, every second in debug mode.
void debug_light();

// Swipe input (game_swipe.cpp).
void swipe_track(Handle task);
void swipe_ok(Handle task);
bool swipe_enabled();
