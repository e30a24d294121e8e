// The whole system started inside the test process: the host's start-up as the program runs
// it, headless on the virtual clock, with LOOP_EXIT so that the test runs the cycles one at a
// time; scripted input (an input file) stands in for the player.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "system/system_run.h"

class InProcessRun : public SystemTest {
protected:
    // Copies the "boot" data, starts the system and runs it until it is running.
    void SetUp() override;
    void TearDown() override;
    // Called in the working folder, after the "boot" data is there and before the start: a
    // subclass puts its own data and keys in place.
    virtual void Prepare() {}

    // Stops the system as its end does and starts it again in this process, on a virtual clock
    // back at 0.
    void Restart();

    // Input lines whose times count from now, loaded as the run's input file; a close a minute
    // later ends a run that the lines failed to end.
    void Script(const std::vector<std::string>& lines);
    // Runs cycles until the stop flag (at most `limit`); the cycles run.
    int RunToStop(int limit = 200);
    // Runs cycles until the clock has moved on by `ms`.
    void RunFor(uint32_t ms);
    // Opens an editor as the player does: the right button on the empty screen opens the
    // system menu, the release on its entry "Editer" chooses it; the editor is in slot 0.
    void OpenEditorFromTheSystemMenu();

    std::string old_folder_;

private:
    void StartSystem();
};
