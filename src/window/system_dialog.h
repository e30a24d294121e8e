// The windows of the four system dialogs (kernel/dialog.h runs them): centred, framed windows
// with a backing store, so that closing one puts back exactly what it covered, and their
// buttons as text button objects numbered by the button's value.
#pragma once

#include "core/pool.h"

// Installs the dialog entry points of kernel/dialog_hooks.h (window system start-up).
void InstallSystemDialogs();
// The window of a dialog (SystemDialog), or 0 before the dialogs are made.
Handle SystemDialogWindow(int dialog);
