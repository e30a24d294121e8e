#include "app/start_up.h"

#include "core/config.h"
#include "core/log.h"
#include "core/system.h"
#include "game/game_data.h"
#include "game/game_task.h"
#include "game/scenario_context.h"
#include "host/font.h"
#include "host/identity.h"
#include "host/input.h"
#include "host/message_loop.h"
#include "host/open_files.h"
#include "host/program_thread.h"
#include "host/screen.h"
#include "host/script_input.h"
#include "host/window.h"
#include "host/window_proc.h"
#include "kernel/dialog_hooks.h"
#include "kernel/scheduler.h"
#include "kernel/startup.h"
#include "kernel/task.h"
#include "present/anime_data.h"
#include "present/effect_task.h"
#include "present/start_screen.h"
#include "resource/resource.h"
#include "window/editor.h"
#include "window/menu_task.h"
#include "window/text_task.h"
#include "window/window_manager.h"

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

void AppStopSystem() {
    HostClearScript();
    // The layers from the top: their records live in the pool, which goes last of the system.
    ResetScenario();
    ResetGame();
    ResetGameFlow();
    ResetStartScreen();
    ResetEffects();
    ResetAnime();
    ResetEditor();
    g_editor_task = 0;
    ResetTextTask();
    ResetMenus();
    ResetWindowManager();
    g_dialog_hooks = {};
    ResetKernel();
    g_use_color = 0;
    StoreSystemFlags(0);
    CloseErrorLog();
    HostCloseAllFiles();
    ResetResources();
    DestroyPool();
    // The host: input, the screen at its default size, the started flag.
    HostResetInput();
    HostResetWindowInput();
    HostResetScreen();
    HostResetProgramThread();
}
