// Brings the screen and the play state in line with the graphic-system record after a slot
// has been loaded or the automatic save restored.
#pragma once

#include "core/pool.h"
#include "game/game_data.h"

int rebuild_screen(IlvaneGame& game, Handle task);
