// A save that is cut short never loses a game: a child process saves slot 1 over and over,
// alternating between two states, and is killed (SIGKILL) at random moments; every time, each
// file of the slot still loads and holds one of the two states, whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "core/system.h"
#include "game/save_slot.h"
#include "game_env.h"
#include "host/sjis_literal.h"
#include "resource/resource.h"

namespace {

using SaveKillTest = GameTest;

void SetState(IlvaneGame& game, int which) {
    SetNum(game.player, "gold", which ? 2222 : 1111);
    SetNum(game.player, "hp", which ? 22 : 11);
    SetStr(game.player, "称号"_sj, which ? "second state" : "first state");
    game.now_sheet = which ? 2 : 1;
    std::snprintf(game.background_file, sizeof game.background_file, "%s",
                  which ? "bg_castle_rain.bmp" : "bg_town_sunny.bmp");
}

[[noreturn]] void SaveForever(IlvaneGame& game, Handle task) {
    StoreSystemFlags(0);
    for (int i = 0;; ++i) {
        SetState(game, i % 2);
        save_slot(game, task, 1);
    }
}

TEST_F(SaveKillTest, KilledSavesLeaveAWholeOldOrNewSlot) {
    LoadGame();
    SetState(game_, 0);
    save_slot(game_, task_, 1);
    std::mt19937 random(20261206);
    int seen[2] = {0, 0};
    for (int round = 0; round < 25; ++round) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) SaveForever(game_, task_);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 60000));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);

        Restart();
        LoadGame();
        SetNum(game_.player, "gold", 5);
        SetNum(game_.gsys, "now_sheet", 9);
        load_slot(game_, task_, 1);
        int gold = GetNum(game_.player, "gold");
        ASSERT_TRUE(gold == 1111 || gold == 2222) << "round " << round << ": gold " << gold;
        int which = gold == 2222;
        ++seen[which];
        EXPECT_EQ(GetNum(game_.player, "hp"), which ? 22 : 11) << round;
        EXPECT_STREQ(GetStr(game_.player, "称号"_sj), which ? "second state" : "first state");
        int sheet = GetNum(game_.gsys, "now_sheet");
        ASSERT_TRUE(sheet == 1 || sheet == 2) << "round " << round << ": sheet " << sheet;
        EXPECT_STREQ(GetStr(game_.gsys, "backgraphic_name"),
                     sheet == 2 ? "bg_castle_rain.bmp" : "bg_town_sunny.bmp")
            << round;
    }
    // The child did save between the kills: both states were left behind some time.
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
}

}  // namespace
