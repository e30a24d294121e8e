// The system dialogs' windows belong to the window system, which sits above the kernel: it
// installs these entry points at its start-up, and the kernel's dialog functions
// (kernel/dialog.h) draw and read the dialogs only through them. Without a window system
// every entry point is empty and no dialog can be opened.
#pragma once

#include <cstdint>

#include "core/pool.h"

enum SystemDialog : int {
    DIALOG_ERROR = 0,
    DIALOG_SYSTEM_MESSAGE = 1,
    DIALOG_MESSAGE = 2,
    DIALOG_YES_NO = 3,
    DIALOG_COUNT = 4,
};

struct DialogHooks {
    // Creates the four dialog windows of `task`; bit (1 << dialog) is set for each one made.
    unsigned (*create)(Handle task);
    // Shows and draws the dialog centred on the screen; false when it was never made.
    bool (*open)(int dialog);
    // Hides it and puts back what it covered.
    void (*close)(int dialog);
    // Draws tagged text at (x, y) of the dialog's client area in its GC.
    void (*text)(int dialog, int x, int y, const char* text);
    // The value of the dialog's button under the absolute point, or 0.
    int (*button_at)(int dialog, int x, int y);
    // Draws the button with that value pressed or normal.
    void (*press)(int dialog, int value, bool pressed);
    // The dialog's client width.
    int (*width)(int dialog);
    // W and H of the dialogs: the system font's character width and line height.
    int (*char_width)();
    int (*line_height)();
};
extern DialogHooks g_dialog_hooks;
