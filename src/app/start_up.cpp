#include "app/start_up.h"

#include "core/config.h"
#include "core/log.h"
#include "core/system.h"
#include "host/font.h"
#include "host/identity.h"
#include "host/message_loop.h"
#include "host/program_thread.h"
#include "host/window.h"
#include "kernel/startup.h"
#include "kernel/task.h"

namespace {
// Every drawing call reaches the surface at once: there is no batching to limit.
constexpr int kDrawBatchLimit = 1;
}  // namespace

Handle g_editor_task = 0;

void AppStartUp() {
    if (!SystemInit()) {
        HostEndProgram(1);
        return;
    }
    // The fonts are looked up now, so a machine without them is told at once.
    HostFontAvailable(HostFontKind::kMincho);
    HostIdentity id = ReadHostIdentity();
    LogLinef("    TUVO %s active", kHostVersion);
    LogLinef("       Win Version %d.%d  %s  GdiBatchLimit %d", id.major, id.minor,
             id.system.c_str(), kDrawBatchLimit);
    LogLinef("       Computer name %s  User name %s", id.computer.c_str(), id.user.c_str());
    SetSystemFlag(FLAG_APPLICATION);
    if (Handle task = RegisterTask("Ilvane", 0, 0)) OpenTaskEvents(task);
    // The editor runs beside the application (compose.cpp calls it after it).
    g_editor_task = RegisterTask("EditTask", 0, 0);
    if (g_editor_task) OpenTaskEvents(g_editor_task);
    // The banner and its boxes come before the started flag: from then on only the program
    // thread touches the log and the system's state.
    if (HostHasDebugMonitor()) {
        char program[kIniValueSize];
        HostMonitorBanner(SysString("START_PROGRAM", program) ? program : nullptr);
    }
    HostSetStarted();
}
