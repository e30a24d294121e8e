// A saved resource file ("PlayList.res" ...) is what a previous run left behind; the item data
// files are the author's sources. Loading prefers the saved file, so a game continues from
// where it was saved, and falls back to the sources on a fresh installation.
#include "game/game_resources.h"

#include <cstdio>

#include "core/config.h"
#include "core/log.h"
#include "game/scenario_context.h"
#include "game/screen.h"
#include "game/settings.h"
#include "host/sjis_literal.h"
#include "kernel/dialog.h"
#include "kernel/event.h"
#include "resource/resource.h"
#include "resource/resource_file.h"
#include "text/item_data.h"

namespace {

constexpr int kMaxListFiles = 64;

// Builds a resource from the item data files of a list: the first file makes it, every further
// one puts its records in front of those already there. `log_names` logs each file loaded.
Handle build_from_list(Handle task, const char* list, bool log_names,
                       const DataLoadObserver& observer) {
    char files[kMaxListFiles][kIniValueSize];
    int count = SplitList(list, &files[0][0], kMaxListFiles, kIniValueSize);
    if (count == 0) return 0;
    if (log_names) LogLine(files[0]);
    Handle resource = CreateItemData(task, files[0]);
    if (observer.list_file_read) observer.list_file_read(observer.context, files[0], resource);
    for (int i = 1; i < count && resource; ++i) {
        if (log_names) LogLine(files[i]);
        Handle read = LoadItemData(task, resource, files[i]);
        if (observer.list_file_read) observer.list_file_read(observer.context, files[i], read);
    }
    return resource;
}

struct GameDialogs {
    Handle task;
};

void no_player_dialog(void*, const char* name) {
    char text[64];
    std::snprintf(text, sizeof text, "no player data! (%s)", name);
    MessageDialog(text);
}

void no_res_file_dialog(void* context) {
    MessageDialog("RES_FILEが記述されていません"_sj);
    RequestShutDown(static_cast<GameDialogs*>(context)->task);
}

}  // namespace

Handle get_player(IlvaneGame& game, const char* name) {
    Handle record = game.characters ? SearchRecordStr(game.characters, "名前"_sj, name) : 0;
    if (record) game.player = record;
    return record;
}

int load_data_resources(IlvaneGame& game, Handle task, const DataLoadObserver& observer) {
    game.gsystem = OpenResource(task, "gamesystem.res", "GameData");
    if (!game.gsystem) game.gsystem = CreateItemData(task, "gsystem.res");
    if (!game.gsystem) LogLine("ILVv0.5 gsystem.res 無し"_sj);
    game.gsys = game.gsystem ? FirstRecord(game.gsystem) : 0;

    game.characters = OpenResource(task, "ilvane_cahrcter.res", "Charcter");
    if (!game.characters) game.characters = CreateItemData(task, "dusk_ilvane.res");
    if (!game.characters) return 1;

    char name[kPlayerNameSize];
    ReadSetting("PLAYER_NAME", name, sizeof name);
    if (!get_player(game, name)) {
        if (observer.no_player) observer.no_player(observer.context, name);
        return 1;
    }

    char list[kIniValueSize];
    game.play_list = OpenResource(task, "PlayList.res", "PlayList");
    if (!game.play_list) {
        if (ReadSetting("RES_FILE", list, sizeof list))
            game.play_list = build_from_list(task, list, false, observer);
        else if (observer.no_res_file)
            observer.no_res_file(observer.context);
    }

    game.text_lib = OpenResource(task, "tlibsave.res", "TextLIBt");
    if (!game.text_lib) {
        if (ReadSetting("TEXTLIB_FILE", list, sizeof list))
            game.text_lib = build_from_list(task, list, true, observer);
        else
            LogLine("このｼﾅﾘｵはTextLibが定義されていません"_sj);
    }
    return 0;
}

int load_game_data(IlvaneGame& game, Handle task) {
    GameDialogs dialogs{task};
    DataLoadObserver observer;
    observer.context = &dialogs;
    observer.no_player = no_player_dialog;
    observer.no_res_file = no_res_file_dialog;
    if (load_data_resources(game, task, observer)) return 1;

    create_standard_gc(game);
    g_scenario.debug = SettingSwitch("DebugMode");
    if (g_scenario.debug) {
        LogLine("text_res Logout");
        if (game.text_lib) DumpRecords(game.text_lib);
    }
    return 0;
}
