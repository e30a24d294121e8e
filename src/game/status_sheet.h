// The status window: sheets of ten DISPLAY entries, one line each, and the highlight that
// writes an expression's change next to the line of the item it changed.
#pragma once

#include <cstddef>

#include "game/game_data.h"

// Replaces every ".gsys" reference (".gsys", one separator character, an item name) of `text`
// by the graphic-system record's number of that item; -1 for a missing item.
void ReplaceGsysReferences(const IlvaneGame& game, const char* text, char* out, size_t size);

// Draws the current sheet; 1 when drawn, 0 when the status window is not open.
int draw_status_sheet(IlvaneGame& game);
// Writes the change of each statement of `expression` that assigns an item of the current
// sheet next to its line; 1 when a line was highlighted.
int highlight_changes(IlvaneGame& game, const char* expression);
