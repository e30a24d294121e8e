// The game's own actions that the scenario interpreter and the slot loading call through their
// function pointers (g_scenario, IlvaneGame::hooks): backgrounds, status sheets, cut-in
// pictures, the player, the mode-name table. The composition root installs them.
#pragma once

#include "core/pool.h"
#include "game/game_data.h"

// Backgrounds: a picture file into the background object (113), or the file the current
// background format names.
void show_background_file(IlvaneGame& game, Handle task, const char* file);
void show_background_from_format(IlvaneGame& game, Handle task);
// BG_FORMAT, BG_FORMAT2 or BG_FORMAT3 of the settings as the current background format.
void load_bg_format(IlvaneGame& game, const char* key);

// Cut-in window n: opened with a picture or an animation script; closed (its animation
// stopped). draw_cut_in draws its picture on a draw request.
bool open_cut_in(Handle task, int slot, const char* file);
void close_cut_in(Handle task, int slot);
void draw_cut_in(int slot);

// A highlighted change makes the sheet be drawn again a few seconds later.
int highlight_and_count(const char* expression);
// The player named `name`, or 0 after "no player data! (%s)".
Handle switch_player(const char* name);
// Word `position` of mode slot `slot` (1 .. 19) of the game's mode-name table.
const char* game_mode_word(int slot, int position);

// Adapters with the interpreter's signatures (the game is g_game).
void act_show_background_format(Handle task);
void act_show_background_file(Handle task, const char* file);
void act_load_bg_format(Handle task, const char* key);
void act_open_status(Handle task);
void act_close_status(Handle task);
void act_redraw_status(Handle task);
int act_highest_sheet();
void act_switch_sheet(int sheet);
void act_open_result(Handle task);
int act_auto_save(Handle task);
int act_restore_save(Handle task);

// Adapters with the hooks' signatures.
void hook_fill_select_menu(IlvaneGame& game, const char* list);
void hook_show_selecter(IlvaneGame& game, bool shown);
void hook_text_step(IlvaneGame& game, Handle task);
