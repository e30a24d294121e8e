// The system dialogs: the error report, system messages, plain messages and yes/no questions,
// each a window of the window system (drawn through kernel/dialog_hooks.h), and the core dump.
// A running dialog holds the calling task, and with it the whole cycle, until it is answered.
#pragma once

#include <cstddef>

#include "core/pool.h"

// Size of the core dump file core.dmp.
constexpr size_t kCoreDumpSize = 7200;
// Room of the dialog text buffer.
constexpr size_t kDialogTextSize = 1024;

// Shows system message `number` with `detail`; 1 when the dialog cannot be opened, else 0.
int SystemMessageDialog(int number, const char* detail);

// Creates the four system dialogs (the manager's first call) and checks them: a missing error
// or system message dialog shows the host box, a missing message or yes/no dialog system
// message 71.
void CreateSystemDialogs(Handle task);
// The error report in the name of `task` (or the current task): logged and shown. Its first
// button restarts (the system shuts down in order), its second writes core.dmp and ends the
// program at once; a key closes it.
void SystemErrorReport(Handle task, int number, const char* detail);
// Shows `text` in the message dialog: the button value (1), 0 when dismissed by a key; 1 when
// the dialog cannot be opened, after logging "DLG OPEN ERROR!".
int MessageDialog(const char* text);
// Asks `text`: 1 for Yes or Return, 2 for No or Escape; 1 when the dialog cannot be opened.
int YesNoDialog(const char* text);
// Writes core.dmp: the system data block and the kernel's state, kCoreDumpSize bytes. 1 on
// success, 0 when the file cannot be created.
int WriteCoreDump();

// The last text shown in the message or yes/no dialog (drawn again on host repaints).
const char* DialogText();
