// The automatic save: a copy of the player record in the character resource and a copy of the
// graphic-system record in its resource, held in memory and written only with a slot.
#pragma once

#include "core/pool.h"
#include "game/game_data.h"

// A new record of the resource's record size, number -1 (reusing an inactive one).
Handle CreateAutoSaveCopy(Handle resource);
// Copies both records into their copies, making the copies first when missing. Returns 1.
int auto_save(IlvaneGame& game, Handle task);
// Copies both copies back and rebuilds the screen; nothing without a player copy. Returns 1.
int restore_save(IlvaneGame& game, Handle task);
