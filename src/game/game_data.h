// The state of one DuskIlvane game: the four data resources it plays from, the player record
// and the graphic-system record, the automatic save, the settings read at each start, the
// screen's windows and objects and the few play-state fields that saving and loading touch.
// One instance is owned by the game task and passed to every function of the game layer.
#pragma once

#include <array>
#include <cstdint>

#include "core/pool.h"

// The settings file of the game and the folder of its save files.
inline constexpr const char* kSettingsFile = "system\\ilvane.res";

// Sizes of the settings' tables.
inline constexpr int kDisplayEntries = 60;   // DISPLAY1 .. DISPLAY60
inline constexpr int kDisplayTextSize = 51;  // 50 bytes and the NUL
inline constexpr int kModeSlots = 19;        // MODENAME1 .. MODENAME19
inline constexpr int kModeWords = 30;        // the mode's name and at most 29 labels
inline constexpr int kModeWordSize = 22;     // 21 bytes and the NUL
inline constexpr int kPlayerNameSize = 20;   // PLAYER_NAME: 19 bytes and the NUL
inline constexpr int kGameTextSize = 256;    // formats, file names, titles, select lists

// The mode-name table: slot k holds the name of a numeric player item and its labels; label j
// (from 1) stands for the item's value j - 1.
struct ModeNameTable {
    int count = 0;  // slots in use (the table ends at the first missing key)
    char words[kModeSlots][kModeWords][kModeWordSize] = {};
};

// The calendar shown by the "時刻" status entry and the slot summaries.
struct Calendar {
    int month = 1;
    int day = 1;
    int week = 1;  // 1 = Monday ... 7 = Sunday
};

// Calls into the scenario interpreter and the screen that loading a slot or restoring the
// automatic save needs. The composition root installs them; an empty one is skipped.
struct IlvaneGame;
struct GameHooks {
    // Shows a background picture as the BG tag does (file from the graphic-system record).
    void (*show_background)(IlvaneGame& game, Handle task, const char* file) = nullptr;
    // Builds the background file name from the current format and shows it (BackGraphic).
    void (*show_background_from_format)(IlvaneGame& game, Handle task) = nullptr;
    // Refills the select menu from a select list.
    void (*fill_select_menu)(IlvaneGame& game, const char* list) = nullptr;
    // Shows or hides the selecter (showing saves the picture under it).
    void (*show_selecter)(IlvaneGame& game, bool shown) = nullptr;
    // Opens or closes the status window.
    void (*show_status_window)(IlvaneGame& game, bool open) = nullptr;
    // Plays one page from the continuation.
    void (*text_step)(IlvaneGame& game, Handle task) = nullptr;
};

// Object numbers of the game screen.
inline constexpr uint16_t kMessageObject = 110;
inline constexpr uint16_t kSelecterObject = 111;
inline constexpr uint16_t kPopupObject = 112;
inline constexpr uint16_t kBackgroundObject = 113;
inline constexpr uint16_t kStatusObject = 114;
inline constexpr uint16_t kSideMenuObject = 119;
inline constexpr uint16_t kCutinObject = 3000;   // 3000 + n, n = 0 to 9
inline constexpr uint16_t kBacklogObject = 120;  // the view in the backlog window

// Fonts, graphic contexts, menus and layout of the game screen.
struct GameScreen {
    Handle font_tiny = 0, font_standard = 0, font_medium = 0, font_large = 0, font_message = 0,
           font_title = 0, font_huge = 0;
    Handle gc_standard = 0, gc_save = 0, gc_title = 0, gc_message = 0, gc_selecter = 0, gc_side = 0;
    Handle debug_menu = 0, select_menu = 0, side_menu = 0;
    Handle background = 0;  // the picture of object 113
    bool window_frame = false;
    bool small_sts = false;
    int text_height = 200;
    int graphic_height = 0;
    int select_width = 100;
    int select_height = 330;
    int selecter_x = 0;  // the selecter's place
    int selecter_y = 0;
    int status_y = 0;  // where the status window opens (x is 0)
};

// What the save window shows.
enum class SaveWindowMode : int { None = 0, Save = 1, Load = 2, Result = 3 };

struct IlvaneGame {
    // Data resources, loaded once on the first start event.
    Handle characters = 0;  // "ilvane_cahrcter.res":"Charcter"
    Handle gsystem = 0;     // "gamesystem.res":"GameData"
    Handle play_list = 0;   // "PlayList.res":"PlayList"
    Handle text_lib = 0;    // "tlibsave.res":"TextLIBt"
    Handle player = 0;      // the character record being played
    Handle gsys = 0;        // the first record of the graphic-system resource
    // The automatic save: copies of the two records, made on first use.
    Handle player_copy = 0;
    Handle gsys_copy = 0;

    // Settings read at each start event.
    char title[kGameTextSize] = {};
    Calendar calendar;
    int date_sts = -1;
    int display_count = 0;  // DISPLAY entries read (the list ends at the first gap)
    char display[kDisplayEntries][kDisplayTextSize] = {};
    int entries_per_sheet = 10;  // 4 once the screen exists with SmallSts on
    int highest_sheet = 0;
    ModeNameTable modes;

    // Background: the current format (empty: read BG_FORMAT again) and the file on screen.
    char bg_format[kGameTextSize] = {};
    char background_file[kGameTextSize] = {};

    // Status sheets: the current sheet and whether the status window is open. The play state
    // (text buffer, continuation, drawing flag, select list ...) is the interpreter's, in
    // g_scenario (game/scenario_context.h).
    int now_sheet = 0;
    bool status_open = false;
    int highlight_countdown = 0;  // seconds until a highlighted sheet is drawn again

    // The screen, built once at form creation.
    GameScreen screen;
    Handle main_window = 0;
    Handle save_window = 0;
    Handle status_window = 0;
    std::array<Handle, 10> cutin_windows = {};
    std::array<Handle, 10> cutin_pictures = {};  // the picture shown in each cut-in window
    SaveWindowMode save_mode = SaveWindowMode::None;
    Handle message_log = 0;     // text object of the backlog
    Handle backlog_window = 0;  // its window, opened at (190, 25)

    GameHooks hooks;
};

// The one game of the running program, owned by the game task (game/game_task.h). Tests of the
// game's parts may keep instances of their own.
extern IlvaneGame g_game;
// Back to a fresh game (start-up and tests).
void ResetGame();
