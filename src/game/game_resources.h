// The four data resources of the game and the player record: each resource is read from its
// saved resource file when there is one, else built from its item data files.
#pragma once

#include "core/pool.h"
#include "game/game_data.h"

// Loads the graphic-system resource, the character resource, the player record, the play list
// and the text library. 0, or 1 when there is no character resource or no player.
int load_game_data(IlvaneGame& game, Handle task);

// What loading meets that the game answers with a dialog; a tool that reports instead of
// playing (nomatool check) answers it its own way. A member left empty is not called.
struct DataLoadObserver {
    void* context = nullptr;
    // An item data file of RES_FILE or TEXTLIB_FILE has been read (resource empty: it failed).
    void (*list_file_read)(void* context, const char* file, Handle resource) = nullptr;
    // No character record's "名前" is PLAYER_NAME (`name`); loading stops there.
    void (*no_player)(void* context, const char* name) = nullptr;
    // "PlayList.res" cannot be read and RES_FILE is missing; loading goes on.
    void (*no_res_file)(void* context) = nullptr;
};

// The data loading of load_game_data without its dialogs, graphic context and debug dump: the
// four data resources and the player record into `game`. 0, or 1 when there is no character
// resource or no player.
int load_data_resources(IlvaneGame& game, Handle task, const DataLoadObserver& observer);

// Makes the character record whose "名前" is `name` the player record and returns it; empty
// (and the player unchanged) when there is none.
Handle get_player(IlvaneGame& game, const char* name);
