// StartScreenTEST: the start screen's task (present/start_screen_file.h for its file).
#pragma once

#include <cstdint>

#include "core/pool.h"
#include "present/start_screen_file.h"

struct StartScreenState {
    char file[kStartScreenName];  // the start-screen file
    char logo[kStartScreenName];  // the logo picture
    Handle logo_window;
    Handle title_window;
    Handle background;    // the title screen's background graphic
    uint16_t start_mode;  // number of the last button pressed
    Handle task;
};
extern StartScreenState g_start_screen;

void StartScreenTEST(Handle task);

// Forgets the task's globals (start-up and tests).
void ResetStartScreen();
