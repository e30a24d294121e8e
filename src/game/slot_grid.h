// The save-slot grid of the save window: each slot's summary, or "no data".
#pragma once

#include "core/pool.h"
#include "game/game_data.h"

// Draws the grid: cells of main width / 3 by (main height - 20) / 6, numbered down each column,
// then across, as slot_click maps clicks back.
void draw_slot_grid(IlvaneGame& game, Handle task);
