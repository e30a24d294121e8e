// The error log: one text stream, one line per LogLine call while TRACE is on.
#pragma once

#include <cstdio>

// Opens the log named by Sys.error.elogfile (default "VavIDIZ.dat") and writes its header.
void OpenErrorLog();
// Closes the log (the manager's shutdown step); later lines are dropped.
void CloseErrorLog();
// The open log stream, or nullptr.
FILE* ErrorLogStream();

// Writes `text` and a line feed when TRACE is on and the phase is not 4; flushes under DEBAG.
void LogLine(const char* text);
// printf-style LogLine; the formatted text is cut at 4095 bytes.
void LogLinef(const char* format, ...) __attribute__((format(printf, 1, 2)));
// True when LogLine would write: callers skip building expensive diagnostics otherwise.
bool LogLineActive();

// Logs line `number` of SYSTEM.msg, then `detail` when given. Nothing is shown.
void LogSystemMessage(int number, const char* detail);

// Shows system message `number` with `detail` in the system message dialog; 1 when the dialog
// cannot be opened, else 0. The dialog belongs to a higher layer, which installs it; until then
// the message is logged as LogSystemMessage does.
using SystemMessageDialogHook = int (*)(int number, const char* detail);
void SetSystemMessageDialog(SystemMessageDialogHook hook);
int ShowSystemMessage(int number, const char* detail);
