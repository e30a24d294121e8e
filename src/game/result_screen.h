// The result screen, drawn into the save window.
#pragma once

#include "core/pool.h"
#include "game/game_data.h"

// The result screen: optional picture and title, then one line per RESULT key with the item's
// value and its change since the automatic save.
void draw_result(IlvaneGame& game);
