#include "game_env.h"

#include "game/game_init.h"
#include "game/game_resources.h"
#include "game/result_screen.h"
#include "game/scenario_context.h"
#include "game/screen.h"
#include "game/slot_grid.h"
#include "game/status_sheet.h"
#include "host/surface.h"
#include "kernel/event.h"
#include "kernel/task.h"
#include "kit/game_folder.h"
#include "window/window.h"
#include "window/window_manager.h"

void PatchSettings(const std::string& lines, std::initializer_list<const char*> drop) {
    std::string kept;
    for (const std::string& line : ReadLines("system/ilvane.res")) {
        bool dropped = false;
        for (const char* key : drop)
            dropped |= line.find(key) != std::string::npos;
        if (!dropped) kept += line + "\n";
    }
    WriteFileBytes("system/ilvane.res", Sj(lines) + kept);
}

void GameTest::SetUp() {
    NomaTest::SetUp();
    ResetScenario();
    BootKernel();
    task_ = RegisterTask("Ilvane", 0, 0);
    InstallTestGame();
}

void GameTest::TearDown() {
    ShutDownBoot();
    NomaTest::TearDown();
}

void GameTest::Restart() {
    ShutDownBoot();
    BootKernel();
    task_ = RegisterTask("Ilvane", 0, 0);
    game_ = IlvaneGame{};
    ResetScenario();
}

void GameTest::LoadGame() {
    ASSERT_EQ(load_game_data(game_, task_), 0);
    init_ilvane(game_, task_);
}

void GameScreenTest::SetUp() {
    NomaTest::SetUp();
    ResetScenario();
    BootWindowSystem(kWidth, kHeight);
    task_ = RegisterTask("Ilvane", 0, 0);
    OpenTaskEvents(task_);
    InstallTestGame();
    WriteTestPictures(kWidth, kHeight);
}

void GameScreenTest::TearDown() {
    GameTest::TearDown();
}

void GameScreenTest::BuildScreen() {
    create_fonts(game_);
    LoadGame();
    ASSERT_NE(create_screen(game_, task_), 0u);
    show_selecter(game_, false);
    set_window_mode(game_.status_window, WIN_SHOW | WIN_OPEN);
    game_.status_open = true;
    open_window(game_.main_window, 0, 0);
    Pump();
}

void GameScreenTest::Pump() {
    AnswerDraws(task_, [&](Handle w) {
        if (w == game_.status_window) draw_status_sheet(game_);
        if (w == game_.save_window) {
            if (game_.save_mode == SaveWindowMode::Result)
                draw_result(game_);
            else
                draw_slot_grid(game_, task_);
        }
    });
}

void GameScreenTest::OpenSaveWindow(SaveWindowMode mode) {
    game_.save_mode = mode;
    open_window(game_.save_window, 0, 0);
    Pump();
}

uint32_t GameScreenTest::Pixel(int x, int y) {
    return HostSurfacePixels()[y * kWidth + x] & 0xFFFFFF;
}
