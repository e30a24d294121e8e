// The system dialogs. They are windows of the window system; until that exists the system
// message dialog writes its message to the log.
#pragma once

#include "core/pool.h"

// Shows system message `number` with `detail`; 1 when the dialog cannot be opened, else 0.
int SystemMessageDialog(int number, const char* detail);

// Creates the four system dialogs (the manager's first call). Until the window system has
// dialogs there is nothing to create.
void CreateSystemDialogs(Handle task);
// The error report in the name of `task` (or the current task). Until the error dialog exists
// the report goes to the log only, as if dismissed by a key.
void SystemErrorReport(Handle task, int number, const char* detail);
// Shows `text` in the message dialog and returns the button value; 1 when the dialog cannot be
// opened, after logging "DLG OPEN ERROR!".
int MessageDialog(const char* text);
