// The game screen, built once when the game's form is created: the fonts and graphic contexts,
// the full-screen main window with the background, message, selecter, side menu, status window
// and ten cut-in windows, and the second full-screen window for saving, loading and results.
#pragma once

#include "core/pool.h"
#include "game/game_data.h"

// The seven fonts of the game (tiny 10 ... huge 48).
void create_fonts(IlvaneGame& game);
// The standard GC (white on gray, standard font), made once, when the data is loaded.
void create_standard_gc(IlvaneGame& game);
// Builds the whole screen; the main window, or 0 when the main window or the status window
// cannot be made.
Handle create_screen(IlvaneGame& game, Handle task);

// Opens the status window at its place, or closes it.
void show_status_window(IlvaneGame& game, bool open);
// Shows the selecter at its place, or hides it.
void show_selecter(IlvaneGame& game, bool shown);
// Installs the two functions above as the game's hooks.
void install_screen_hooks(IlvaneGame& game);
