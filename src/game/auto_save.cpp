#include "game/auto_save.h"

#include "core/log.h"
#include "game/rebuild_screen.h"
#include "host/sjis_literal.h"
#include "resource/resource.h"

Handle CreateAutoSaveCopy(Handle resource) {
    const ResourceAttr* attr = resource_attr(resource);
    if (!attr) return 0;
    return CreateRecord(resource, -1, attr->record_size);
}

int auto_save(IlvaneGame& game, Handle task) {
    (void)task;
    LogLine("ILV　-AutoSave-"_sj);
    if (!game.player_copy && game.characters)
        game.player_copy = CreateAutoSaveCopy(game.characters);
    if (!game.gsys_copy && game.gsystem) game.gsys_copy = CreateAutoSaveCopy(game.gsystem);
    if (game.player && game.player_copy) CopyRecord(game.player, game.player_copy);
    if (game.gsys && game.gsys_copy) CopyRecord(game.gsys, game.gsys_copy);
    return 1;
}

int restore_save(IlvaneGame& game, Handle task) {
    if (!game.player_copy) return 1;
    LogLine("ILV　-RestoreSave-"_sj);
    if (game.player) CopyRecord(game.player_copy, game.player);
    if (game.gsys && game.gsys_copy) CopyRecord(game.gsys_copy, game.gsys);
    rebuild_screen(game, task);
    return 1;
}
