// The four data resources of the game and the player record: each resource is read from its
// saved resource file when there is one, else built from its item data files.
#pragma once

#include "core/pool.h"
#include "game/game_data.h"

// Loads the graphic-system resource, the character resource, the player record, the play list
// and the text library. 0, or 1 when there is no character resource or no player.
int load_game_data(IlvaneGame& game, Handle task);

// Makes the character record whose "名前" is `name` the player record and returns it; empty
// (and the player unchanged) when there is none.
Handle get_player(IlvaneGame& game, const char* name);
