// The system dialogs. They are windows of the window system; until that exists the system
// message dialog writes its message to the log.
#pragma once

// Shows system message `number` with `detail`; 1 when the dialog cannot be opened, else 0.
int SystemMessageDialog(int number, const char* detail);
