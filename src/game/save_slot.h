// Save slots: slot n is the character resource and the graphic-system resource, each written
// to its own file in the system folder. Each file is written through the resource writer, which
// writes a temporary file, flushes it and renames it over the old one, so a slot file on disk
// is always a whole save, old or new.
#pragma once

#include <cstddef>

#include "core/pool.h"
#include "game/game_data.h"

// "system\ilvane_char%02d.res" and "system\ilvane_gsys%02d.res" of slot n.
void SlotCharacterFile(int n, char* out, size_t size);
void SlotGsysFile(int n, char* out, size_t size);
// True when slot n has a character file.
bool SlotExists(int n);

// Writes slot n: the whole character resource, then the graphic-system resource after the
// graphic-system record has been brought up to date.
void save_slot(IlvaneGame& game, Handle task, int n);
// Reads slot n: its first character record into the player record, its first graphic-system
// record into the graphic-system record, then rebuilds the screen. A half whose file cannot be
// read is left as it was.
void load_slot(IlvaneGame& game, Handle task, int n);
// A click in the save window: marks the cell, asks, loads or saves. 0 to draw the grid again,
// 1 to close the save window.
int slot_click(IlvaneGame& game, Handle task, int x, int y);
