#include "game/game_init.h"

#include "core/log.h"
#include "game/auto_save.h"
#include "game/scenario_context.h"
#include "game/settings.h"
#include "host/sjis_literal.h"
#include "resource/resource.h"

void init_ilvane(IlvaneGame& game, Handle task) {
    (void)task;
    ReadSetting("GAME_TITLE", game.title, sizeof game.title);
    game.calendar = ReadCalendar();
    game.date_sts = SettingNumber("DATE_STS");
    ReadDisplayEntries(game);
    g_scenario.active_select = SettingSwitch("ActiveSelect");
    ReadModeNames(game.modes);
    if (!game.player_copy && game.characters && game.player) {
        game.player_copy = CreateAutoSaveCopy(game.characters);
        LogLine("Save Start data for init_ilvane()");
        CopyRecord(game.player, game.player_copy);
        if (!game.gsys_copy && game.gsystem) game.gsys_copy = CreateAutoSaveCopy(game.gsystem);
    }
    game.bg_format[0] = '\0';
}
