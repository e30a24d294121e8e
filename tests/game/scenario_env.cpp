#include "scenario_env.h"

#include <cstring>

#include "game/scenario.h"
#include "game/scenario_context.h"
#include "host/surface.h"
#include "kernel/task.h"
#include "resource/resource.h"
#include "text/text.h"
#include "window/gc.h"
#include "window/menu.h"
#include "window/object.h"
#include "window/window.h"
#include "window/window_manager.h"

std::vector<std::string> g_calls;
int g_highest_sheet = 2;

namespace {

void note(const std::string& name, const std::string& argument = "") {
    g_calls.push_back(argument.empty() ? name : name + " " + argument);
}

void install_actions() {
    ScenarioContext& s = g_scenario;
    s.play_midi = [](const char* file) {
        note("midi", file);
        return 0;
    };
    s.play_wave = [](const char* file, int loop) {
        note("wave", std::string(file) + " " + std::to_string(loop));
    };
    s.show_background_file = [](Handle, const char* file) { note("background", file); };
    s.open_status = [](Handle) { note("open-status"); };
    s.close_status = [](Handle) { note("close-status"); };
    s.redraw_status = [](Handle) { note("redraw-status"); };
    s.highest_sheet = [] { return g_highest_sheet; };
    s.switch_sheet = [](int sheet) { note("sheet", std::to_string(sheet)); };
    s.highlight_changes = [](const char* expression) {
        note("highlight", expression);
        return 0;
    };
    s.open_result = [](Handle) { note("result"); };
    s.auto_save = [](Handle) {
        note("auto-save");
        return 1;
    };
    s.restore_save = [](Handle) {
        note("restore");
        return 1;
    };
    s.get_player = [](const char* name) -> Handle {
        note("get-player", name);
        static const std::string key = Sj("名前");
        return SearchRecordStr(FindResource("chars", "Charcter"), key.c_str(), name);
    };
    s.open_cut_in = [](Handle, int slot, const char* file) {
        note("cut-in", std::to_string(slot) + " " + file);
        return true;
    };
    s.close_cut_in = [](Handle, int slot) { note("close-cut-in", std::to_string(slot)); };
    s.bad_end = [](Handle) { note("bad-end"); };
    s.set_auto_play = [](Handle, bool on) { note("auto-play", on ? "on" : "off"); };
    s.enable_load_save = [](Handle, bool on) { note("load-save", on ? "on" : "off"); };
    // Two modes: "time" with the labels 朝 昼 夜, "place" with 森 町.
    s.mode_word = [](int slot, int position) -> const char* {
        static const std::string table[2][4] = {
            {"time", Sj("朝"), Sj("昼"), Sj("夜")},
            {"place", Sj("森"), Sj("町"), ""},
        };
        if (slot < 1 || slot > 2 || position < 0 || position > 3) return nullptr;
        return table[slot - 1][position].c_str();
    };
}

Handle make_string_items(Handle resource, std::initializer_list<const char*> names, uint32_t size) {
    for (const char* name : names)
        CreateItem(resource, name, ITEMstring, size);
    return resource;
}

}  // namespace

void ScenarioTest::SetUp() {
    NomaTest::SetUp();
    BootWindowSystem(kWidth, kHeight);
    RegisterSystemTasks();
    task_ = RegisterTask("Ilvane", 0, 0);
    OpenTaskEvents(task_);
    task_id_ = TaskId(task_);
    g_calls.clear();
    g_highest_sheet = 2;
    ResetScenario();
    ResetGame();
    install_actions();

    main_ = create_window(task_, 0, kWidth, kHeight, 0);
    open_window(main_, 0, 0);
    Handle gc = CreateGC(0x808080, 0xC0C0C0, 0x404040, 0xFFFFFF);
    Message(main_, kMessageObject, 50, kHeight - 200, 700, 200, gc);
    menu_ = CreateMenu(task_, 34);
    Selecter(main_, kSelecterObject, kWidth - 105, 0, 100, 330, menu_, gc);
    HideObject(main_, kSelecterObject);

    characters_ = CreateResource(task_, "chars", "Charcter");
    CreateItem(characters_, Sj("名前").c_str(), ITEMstring, 20);
    for (const char* name :
         {"ILVrequest", "auto_play", "mode", "old_mode", "count", "hp", "time", "place"})
        CreateItem(characters_, name, ITEMlong, 4);
    CreateItem(characters_, "nick", ITEMstring, 64);
    player_ = CreateRecord(characters_, 1, 0);
    SetStr(player_, Sj("名前").c_str(), Sj("アルマ").c_str());
    SetStr(player_, "nick", Sj("アル").c_str());
    SetNum(player_, "hp", 10);
    other_player_ = CreateRecord(characters_, 2, 0);
    SetStr(other_player_, Sj("名前").c_str(), Sj("ベル").c_str());

    play_list_ = make_string_items(CreateResource(task_, "PlayList.res", "PlayList"),
                                   {"Compare", "Compute"}, 256);
    CreateItem(play_list_, "TEXT", ITEMstring, 4096);
    text_lib_ = make_string_items(CreateResource(task_, "tlibsave.res", "TextLIBt"),
                                  {"textlib_word", "Compare"}, 256);
    CreateItem(text_lib_, "Text", ITEMstring, 1024);

    Handle gsys_resource = CreateResource(task_, "gamesystem.res", "GameData");
    CreateItem(gsys_resource, "month", ITEMlong, 4);
    CreateItem(gsys_resource, "day", ITEMlong, 4);
    CreateItem(gsys_resource, "bg_format", ITEMstring, 64);
    gsys_ = CreateRecord(gsys_resource, 1, 0);
    SetNum(gsys_, "month", 4);
    SetNum(gsys_, "day", 1234567890);

    log_ = CreateText(task_, "backlog", 0);

    g_game.play_list = play_list_;
    g_game.text_lib = text_lib_;
    g_game.player = player_;
    g_game.gsys = gsys_;
    g_game.main_window = main_;
    g_game.screen.select_menu = menu_;
    g_game.message_log = log_;
    g_game.screen.selecter_x = kWidth - 105;
    g_game.screen.selecter_y = 0;
}

void ScenarioTest::TearDown() {
    ResetScenario();
    ResetGame();
    ShutDownBoot();
    NomaTest::TearDown();
}

Handle ScenarioTest::AddScene(const std::string& compare, const std::string& text,
                              const std::string& compute) {
    Handle r = CreateRecord(play_list_, -1, 0);
    SetStr(r, "Compare", compare.c_str());
    SetStr(r, "TEXT", text.c_str());
    SetStr(r, "Compute", compute.c_str());
    return r;
}

Handle ScenarioTest::AddWord(const std::string& word, const std::string& compare,
                             const std::string& text) {
    Handle r = CreateRecord(text_lib_, -1, 0);
    SetStr(r, "textlib_word", word.c_str());
    SetStr(r, "Compare", compare.c_str());
    SetStr(r, "Text", text.c_str());
    return r;
}

std::string ScenarioTest::Scan(const std::string& text, int* result) {
    std::memset(g_scenario.text, 0, sizeof g_scenario.text);
    std::memcpy(g_scenario.text, text.data(), std::min(text.size(), kScenarioTextSize - 1));
    g_scenario.continuation = 0;
    char page[kScenarioTextSize];
    int r = exec_command(task_, g_scenario.text, page);
    if (result) *result = r;
    return page;
}

std::string ScenarioTest::Backlog() {
    std::string all;
    const TextHeader* h = text_header(log_);
    int lines = h ? int(h->lines) : 0;
    for (int y = 0; y <= lines; ++y) {
        char line[4096];
        if (!GetTextLine(log_, y, line, sizeof line)) break;
        if (y) all += "\n";
        all += line;
    }
    return all;
}

bool ScenarioTest::Shown(uint16_t object) {
    const ObjectRecord* o = object_record(ReqObject(main_, object));
    return o && test_window_mode(o->window, WIN_SHOW);
}

uint32_t ScenarioTest::Pixel(int x, int y) {
    return HostSurfacePixels()[y * kWidth + x] & 0xFFFFFF;
}
