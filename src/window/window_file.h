// Window definition files: a key file that gives a window's client size and decorations, and
// lines that each make one object of the window.
#pragma once

#include "core/pool.h"

// Makes a top-level window of `task` from the file: Width and Height give its client size
// (either missing: no window), Controlbar, Frame, ResizeBox and CloseBox its decorations; then
// every line that begins with MessageButton, CheckButton, InputMessage, InputNumeric or
// InputByte makes that object. Returns the window (closed), or 0.
Handle ReadWindowFile(Handle task, const char* file);
