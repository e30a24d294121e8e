// Scenario texts through the interpreter with a small game loaded, on a small screen so that
// the redraws hiding an object asks for stay quick: a main window with its message object and
// selecter, a player, a play list, a text library whose words expand into tags and into
// themselves, and a graphic-system record. The first byte picks the entry: one scan of the
// text buffer, a whole play of the text as a scenario record (pages, choices), tag removal, or
// the expression rewrites. No write may leave the 4096-byte buffers, every page and the text
// buffer stay terminated, and the play ends.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/log.h"
#include "core/pool.h"
#include "core/system.h"
#include "fuzz_folder.h"
#include "game/scenario.h"
#include "game/scenario_context.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "kernel/task.h"
#include "kit/boot.h"
#include "resource/resource.h"
#include "window/gc.h"
#include "window/menu.h"
#include "window/object.h"
#include "window/window.h"
#include "window/window_manager.h"

namespace {

Handle task = 0;
Handle player = 0;
Handle scene = 0;
std::vector<uint8_t> player_body;

Handle string_items(Handle resource, std::initializer_list<const char*> names, uint32_t size) {
    for (const char* name : names)
        CreateItem(resource, name, ITEMstring, size);
    return resource;
}

void set_up() {
    EnterFuzzFolder("scenario", "Sys.error.elogfile /dev/null\n");
    StoreSystemFlags(FLAG_TRACE);
    BootWindowSystem(320, 240, 64u << 20, 1u << 14);
    task = RegisterTask("Ilvane", 0, 0);
    Handle main_window = create_window(task, 0, 320, 240, 0);
    open_window(main_window, 0, 0);
    Handle gc = CreateGC(0x808080, 0xC0C0C0, 0x404040, 0xFFFFFF);
    Message(main_window, kMessageObject, 10, 140, 300, 100, gc);
    Handle menu = CreateMenu(task, 34);
    Selecter(main_window, kSelecterObject, 215, 0, 100, 130, menu, gc);

    Handle characters = CreateResource(task, "chars", "Charcter");
    CreateItem(characters, "名前"_sj, ITEMstring, 20);
    for (const char* name : {"ILVrequest", "auto_play", "mode", "old_mode", "count", "hp"})
        CreateItem(characters, name, ITEMlong, 4);
    CreateItem(characters, "nick", ITEMstring, 64);
    player = CreateRecord(characters, 1, 0);
    SetStr(player, "名前"_sj, "アルマ"_sj);
    SetStr(player, "nick", "<nick><input>");
    player_body.assign(record_body(player), record_body(player) + handle_entry(player)->size + 1);

    Handle play_list =
        string_items(CreateResource(task, "PlayList.res", "PlayList"), {"Compare", "Compute"}, 256);
    CreateItem(play_list, "TEXT", ITEMstring, 4096);
    scene = CreateRecord(play_list, -1, 0);
    SetStr(scene, "Compare", "hp>=0");
    SetStr(scene, "Compute", "hp=hp+1");

    Handle library = string_items(CreateResource(task, "tlibsave.res", "TextLIBt"),
                                  {"textlib_word", "Compare"}, 256);
    CreateItem(library, "Text", ITEMstring, 1024);
    const char* words[][2] = {{"w", "xx<w><w>"},
                              {"s", "<Select a,b><input>"},
                              {"e", ""},
                              {"t", "<Compute hp=hp+.gsys.n>t"}};
    for (auto& word : words) {
        Handle r = CreateRecord(library, -1, 0);
        SetStr(r, "textlib_word", word[0]);
        SetStr(r, "Compare", "hp>=0");
        SetStr(r, "Text", word[1]);
    }

    Handle gsys_resource = CreateResource(task, "gamesystem.res", "GameData");
    CreateItem(gsys_resource, "n", ITEMlong, 4);
    Handle gsys = CreateRecord(gsys_resource, 1, 0);
    SetNum(gsys, "n", -2147483647 - 1);

    ResetScenario();
    ResetGame();
    ScenarioContext& s = g_scenario;
    s.play_midi = [](const char*) { return 0; };
    s.play_wave = [](const char*, int) {};
    g_game.play_list = play_list;
    g_game.text_lib = library;
    g_game.player = player;
    g_game.gsys = gsys;
    g_game.main_window = main_window;
    g_game.screen.select_menu = menu;
    g_game.message_log = 0;
}

// The text buffer holds a terminated text.
void check_buffer() {
    if (!std::memchr(g_scenario.text, '\0', kScenarioTextSize)) __builtin_trap();
    int c = g_scenario.continuation;
    if (c != kNoContinuation && (c < 0 || size_t(c) >= kScenarioTextSize)) __builtin_trap();
}

void forget_events() {
    while (EndEvent() == 0) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    MakeFuzzPathsAbsolute(argc, argv);
    set_up();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > 1 << 14) return 0;
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    // File names stay inside the empty folder.
    for (char& c : text)
        if (c == '/' || c == '\\') c = '_';
    std::memcpy(record_body(player), player_body.data(), player_body.size());
    g_game.player = player;
    g_scenario.drawing = g_scenario.select_pending = false;
    g_scenario.debug = data[0] & 0x10;

    switch (data[0] % 4) {
        case 0: {
            size_t length = std::min(text.size(), kScenarioTextSize - 1);
            std::memcpy(g_scenario.text, text.data(), length);
            g_scenario.text[length] = '\0';
            g_scenario.record = scene;
            g_scenario.continuation = 0;
            std::vector<char> page(kScenarioTextSize);  // exactly a page: overruns are caught
            exec_command(task, g_scenario.text, page.data());
            if (!std::memchr(page.data(), '\0', page.size())) __builtin_trap();
            check_buffer();
            break;
        }
        case 1: {
            SetStr(scene, "TEXT", text.c_str());
            g_scenario.continuation = kNoContinuation;
            for (int step = 0; step < 64; ++step) {
                g_scenario.drawing = false;
                if (g_scenario.select_pending)
                    SelectMenu(task, step % 3);
                else
                    action_ilvane(task);
                check_buffer();
                if (g_scenario.continuation == kNoContinuation && !g_scenario.select_pending) break;
            }
            break;
        }
        case 2: {
            std::vector<char> exact(text.begin(), text.end());
            exact.push_back('\0');
            delete_tag(exact.data());
            break;
        }
        case 3: {
            std::vector<char> exact(text.begin(), text.end());
            exact.push_back('\0');
            replace_mode_labels(exact.data());
            expand_gsys_refs(exact.data(), exact.size());
            if (!std::memchr(exact.data(), '\0', exact.size())) __builtin_trap();
            break;
        }
    }
    forget_events();
    return 0;
}
