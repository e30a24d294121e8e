// The game's initialisation on every start event: the settings it covers are read again and
// the automatic save is made from the start data when there is none yet.
#pragma once

#include "core/pool.h"
#include "game/game_data.h"

void init_ilvane(IlvaneGame& game, Handle task);
