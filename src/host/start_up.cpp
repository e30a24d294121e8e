#include "host/start_up.h"

#include <SDL2/SDL.h>
#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/message_box.h"
#include "host/program_thread.h"
#include "host/screen.h"
#include "host/sjis_literal.h"
#include "host/window.h"
#include "kernel/config.h"
#include "kernel/log.h"
#include "kernel/startup.h"
#include "kernel/system.h"
#include "kernel/task.h"

namespace {

// Every drawing call reaches the surface at once: there is no batching to limit.
constexpr int kDrawBatchLimit = 1;

bool begun = false;

// The debug monitor's banner and the display checks made with it.
void monitor_banner() {
    SDL_DisplayMode mode{};
    SDL_GetDesktopDisplayMode(0, &mode);
    int bits = int(SDL_BITSPERPIXEL(mode.format));
    int planes = 1;
    int depth = bits * planes;
    // 2 to the power of the depth, as a 32-bit number (a depth of 32 wraps to 0).
    int colours = depth >= 32 ? 0 : int(1u << depth);
    std::vector<std::string> lines;
    char line[512];
    std::snprintf(line, sizeof line, "TUVO Ver %s   NOMA V%s R%s", kHostVersion, "0.4", "17");
    lines.push_back(line);
    lines.push_back("       host window and program thread on SDL2");
    std::snprintf(line, sizeof line, "       Screen size %d/%d dot   Pixel %d   Plans %d  Color %d",
                  g_screen_width, g_screen_height, bits, planes, colours);
    LogLine(line);
    lines.push_back(line);
    char program[kIniValueSize];
    if (SysString("START_PROGRAM", program)) {
        std::snprintf(line, sizeof line, "       - %s -   TUVO start up", program);
        LogLine(line);
        lines.push_back(line);
    }
    DrawMonitorBanner(lines);
    if (depth < 8) HostMessageBox("256色以上でご利用ください"_sj);
    if (mode.w < 800 || mode.h < 500) HostMessageBox("800*600 以上でご利用ください"_sj);
}

}  // namespace

HostIdentity ReadHostIdentity() {
    HostIdentity id;
    utsname names{};
    if (uname(&names) == 0) {
        std::sscanf(names.release, "%d.%d", &id.major, &id.minor);
        id.system = names.sysname;
    }
    char buffer[80] = {};
    if (gethostname(buffer, sizeof buffer - 1) == 0) id.computer = buffer;
    passwd entry{};
    passwd* found = nullptr;
    char text[1024];
    if (getpwuid_r(getuid(), &entry, text, sizeof text, &found) == 0 && found && found->pw_name &&
        std::strlen(found->pw_name) < 80)
        id.user = found->pw_name;
    else
        id.user = "NON";
    return id;
}

bool HostStartUpBegun() {
    return begun;
}

void HostStartUp() {
    if (begun) return;
    begun = true;
    SystemInit();
    HostIdentity id = ReadHostIdentity();
    LogLinef("    TUVO %s active", kHostVersion);
    LogLinef("       Win Version %d.%d  %s  GdiBatchLimit %d", id.major, id.minor,
             id.system.c_str(), kDrawBatchLimit);
    LogLinef("       Computer name %s  User name %s", id.computer.c_str(), id.user.c_str());
    SetSystemFlag(FLAG_APPLICATION);
    if (Handle task = RegisterTask("Ilvane", 0, 0)) OpenTaskEvents(task);
    // The banner and its boxes come before the started flag: from then on only the program
    // thread touches the log and the system's state.
    if (HostHasDebugMonitor()) monitor_banner();
    HostSetStarted();
}
