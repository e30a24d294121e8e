#include "game_env.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/game_init.h"
#include "game/game_resources.h"
#include "kernel/task.h"

namespace fs = std::filesystem;

void InstallTestGame() {
    fs::path source = fs::path(NOMA_SOURCE_DIR) / "tests/game/data";
    for (const auto& entry : fs::recursive_directory_iterator(source)) {
        fs::path target = fs::relative(entry.path(), source);
        if (entry.is_directory()) {
            fs::create_directories(target);
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        std::string ext = entry.path().extension().string();
        WriteFileBytes(target.string(), ext == ".bmp" ? bytes.str() : Sj(bytes.str()));
    }
}

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
}

void GameTest::LoadGame() {
    ASSERT_EQ(load_game_data(game_, task_), 0);
    init_ilvane(game_, task_);
}

int GameTest::LogCount(const std::string& sjis_part) {
    int n = 0;
    for (const std::string& line : LogLines())
        n += line.find(sjis_part) != std::string::npos;
    return n;
}
