#include "host/identity.h"

#include <SDL2/SDL.h>
#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/log_sink.h"
#include "host/message_box.h"
#include "host/screen.h"
#include "host/sjis_literal.h"
#include "host/window.h"

namespace {

// The debug monitor's banner and the display checks made with it.
void monitor_banner(const char* program) {
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
    HostLog(line);
    lines.push_back(line);
    if (program) {
        std::snprintf(line, sizeof line, "       - %s -   TUVO start up", program);
        HostLog(line);
        lines.push_back(line);
    }
    DrawMonitorBanner(lines);
    if (depth < 8) HostMessageBox("256色以上でご利用ください"_sj);
    if (mode.w < 800 || mode.h < 500) HostMessageBox("800*600 以上でご利用ください"_sj);
}

}  // namespace

void HostMonitorBanner(const char* program) {
    monitor_banner(program);
}

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
