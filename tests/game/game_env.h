// Fixtures of the game tests: the small test game of tests/game/data installed as Shift-JIS in
// a temporary working folder, on a booted kernel (GameTest) or window system (GameScreenTest).
#pragma once

#include <string>

#include "core/pool.h"
#include "game/game_data.h"
#include "kit/game_folder.h"
#include "support/test_env.h"

// The settings file of the test game with `lines` (UTF-8) put in front, so that they win over
// the installed keys of the same name, and with every line containing a key of `drop` removed.
void PatchSettings(const std::string& lines, std::initializer_list<const char*> drop = {});

class GameTest : public NomaTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // load_game_data and init_ilvane on the installed game; asserts that loading succeeded.
    void LoadGame();
    // Leaves the pool and the game state and boots again on the same folder, as a new run of
    // the program does.
    void Restart();
    // True when some log line equals the UTF-8 text converted to Shift-JIS.
    bool LoggedSj(const std::string& utf8) { return Logged(Sj(utf8)); }

    Handle task_ = 0;
    IlvaneGame game_;
};

// The test game on an 800 x 600 window system with its pictures, loaded and initialised; the
// screen is built by BuildScreen.
class GameScreenTest : public GameTest {
protected:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;
    void SetUp() override;
    void TearDown() override;
    // create_fonts, load_game_data, init_ilvane, create_screen; opens the main window with
    // the status window shown.
    void BuildScreen();
    // Answers every draw request to the game task as the game does (status sheet, slot grid or
    // result screen), until none is left.
    void Pump();
    // Opens the save window in `mode` and draws it.
    void OpenSaveWindow(SaveWindowMode mode);
    uint32_t Pixel(int x, int y);
};
