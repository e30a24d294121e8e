// Arbitrary bytes as the game's settings file: the status entries with their sheet count, the
// mode-name table, the calendar texts and the background name built from BG_FORMAT (a format
// that is never handed to printf) on a player record whose mode items hold the input's values.
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/system.h"
#include "fuzz_folder.h"
#include "game/background_name.h"
#include "game/calendar.h"
#include "game/game_data.h"
#include "game/settings.h"
#include "resource/resource.h"

namespace {

bool set_up() {
    EnterFuzzFolder("game-settings", "Sys.error.elogfile /dev/null\n");
    StoreSystemFlags(FLAG_TRACE);
    mkdir("system", 0755);
    return true;
}

bool terminated(const char* text, size_t size) {
    return std::memchr(text, 0, size) != nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    MakeFuzzPathsAbsolute(argc, argv);
    set_up();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteFuzzFile("system/ilvane.res", data, size);
    ResetResources();
    DestroyPool();
    if (!CreatePoolSized(8u << 20, 1024) || !CreateSystemResources()) std::abort();

    static IlvaneGame game;
    game = IlvaneGame{};
    game.entries_per_sheet = size % 2 ? 4 : 10;
    ReadDisplayEntries(game);
    if (game.display_count < 0 || game.display_count > kDisplayEntries) std::abort();
    for (const auto& entry : game.display)
        if (!terminated(entry, sizeof entry)) std::abort();
    ReadModeNames(game.modes);
    if (game.modes.count < 0 || game.modes.count > kModeSlots) std::abort();

    // A player whose items are named by the first word of each mode slot.
    Handle characters = CreateResource(0, "chars.res", "Charcter");
    for (int k = 0; k < game.modes.count; ++k)
        if (game.modes.words[k][0][0]) CreateItem(characters, game.modes.words[k][0], ITEMlong, 4);
    CreateItem(characters, "time", ITEMlong, 4);
    game.player = CreateRecord(characters, 1, resource_attr(characters)->record_size);
    for (int k = 0; k < game.modes.count; ++k)
        SetNum(game.player, game.modes.words[k][0], size > 0 ? int(data[size_t(k) % size]) - 3 : 0);
    SetNum(game.player, "time", size > 1 ? int(data[0]) * int(data[1]) - 500 : 0);

    char out[kGameTextSize];
    bg_file_name(game, out, sizeof out);
    if (!terminated(out, sizeof out)) std::abort();
    date_text(ReadCalendar(), out, sizeof out);
    time_text(game.player, out, sizeof out);
    return 0;
}
