#include "core/log.h"

#include <cstdarg>
#include <cstring>

#include "core/config.h"
#include "core/lines.h"
#include "core/system.h"
#include "host/file.h"
#include "host/log_sink.h"
#include "host/message_box.h"
#include "host/sjis_literal.h"

namespace {
FILE* error_log = nullptr;
SystemMessageDialogHook message_dialog = nullptr;
}  // namespace

void OpenErrorLog() {
    CloseErrorLog();
    char name[256];
    if (!SysString("Sys.error.elogfile", name) || !name[0]) std::strcpy(name, "VavIDIZ.dat");
    std::snprintf(g_system.error_log_name, sizeof g_system.error_log_name, "%s", name);
    error_log = HostFileOpen(name, "wt");
    if (!error_log) {
        HostMessageBox("ElogFile open miss!!");
        return;
    }
    ClockRecord now = ClockNow();
    std::fprintf(error_log, "%s V%s R%s %s\n", "NOMA", "0.4", "17", "Saltmarrow");
    std::fprintf(error_log, "    loging start %d/%d/%d %d:%d\n", ClockYear(now), ClockMonth(now),
                 ClockDay(now), ClockHour(now), ClockMinute(now));
    std::fflush(error_log);
    // The host's own lines (BMP loading, blits) go to this log from now on.
    HostSetLogSink(LogLine);
}

void CloseErrorLog() {
    if (error_log) HostFileClose(error_log);
    error_log = nullptr;
}

FILE* ErrorLogStream() {
    return error_log;
}

bool LogLineActive() {
    return error_log && TestSystemFlag(FLAG_TRACE) && g_system.phase != PHASE_SHUTTING_DOWN;
}

void LogLine(const char* text) {
    if (!LogLineActive() || !text) return;
    std::fputs(text, error_log);
    std::fputc('\n', error_log);
    if (TestSystemFlag(FLAG_DEBAG)) std::fflush(error_log);
}

void LogLinef(const char* format, ...) {
    if (!LogLineActive()) return;
    char text[4096];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    LogLine(text);
}

void LogSystemMessage(int number, const char* detail) {
    char line[1024];
    if (read_line_file("SYSTEM.msg", line, number)) LogLine(line);
    if (detail) LogLine(detail);
}

void SetSystemMessageDialog(SystemMessageDialogHook hook) {
    message_dialog = hook;
}

int ShowSystemMessage(int number, const char* detail) {
    if (message_dialog) return message_dialog(number, detail);
    LogSystemMessage(number, detail);
    return 0;
}
