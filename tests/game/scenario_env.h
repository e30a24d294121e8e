// Fixture of the interpreter tests: an 800 x 600 window system with every system task, the
// game task with its main window (message object 110, selecter 111 on a 35-item select menu),
// a player record, a play list, a text library, a graphic-system record and a backlog text,
// all made through the resource and window APIs. The game's own actions are recorded as calls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/pool.h"
#include "kernel/event.h"
#include "kernel/task.h"
#include "support/test_env.h"

// The calls of the game's actions the fixture installs, as "name argument", oldest first.
extern std::vector<std::string> g_calls;
// What the fixture's status window reports as its highest sheet number.
extern int g_highest_sheet;

class ScenarioTest : public NomaTest {
protected:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;

    void SetUp() override;
    void TearDown() override;

    // A play list record, appended; texts are Shift-JIS already.
    Handle AddScene(const std::string& compare, const std::string& text,
                    const std::string& compute = "");
    // A text library record, appended.
    Handle AddWord(const std::string& word, const std::string& compare, const std::string& text);
    // Puts `text` into the text buffer with the continuation at its start and scans it once:
    // the page, and the scan's result in `result`.
    std::string Scan(const std::string& text, int* result = nullptr);
    // The text of the backlog, its lines joined with "\n".
    std::string Backlog();
    bool Shown(uint16_t object);
    uint32_t Pixel(int x, int y);

    Handle task_ = 0;
    uint32_t task_id_ = 0;
    Handle main_ = 0;
    Handle menu_ = 0;
    Handle player_ = 0;
    Handle other_player_ = 0;
    Handle characters_ = 0;
    Handle play_list_ = 0;
    Handle text_lib_ = 0;
    Handle gsys_ = 0;
    Handle log_ = 0;
};
