#include "host/message_loop.h"

#include <SDL2/SDL.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/clock.h"
#include "host/controller.h"
#include "host/display_loss.h"
#include "host/font.h"
#include "host/instance_lock.h"
#include "host/log_sink.h"
#include "host/message_box.h"
#include "host/midi_synth.h"
#include "host/open_files.h"
#include "host/player_settings.h"
#include "host/program_thread.h"
#include "host/screen.h"
#include "host/screenshot.h"
#include "host/script_input.h"
#include "host/sjis_literal.h"
#include "host/sound.h"
#include "host/window.h"
#include "host/window_proc.h"

namespace {

// How long the end of the program waits for the program thread to leave its cycles.
constexpr uint32_t kThreadEndWaitMs = 3000;

const auto process_start = std::chrono::steady_clock::now();

HostSystem the_system;
bool begun = false;  // the system's start-up has been run
bool close_requested = false;
int exit_status = 0;
bool window_destroyed = false;
bool startup_reported = false;
PlayerSettings settings;  // the player's settings of this run (player.ini and command line)

// The main window is destroyed: the screen goes and the message loop ends.
void destroy_main_window() {
    if (window_destroyed) return;
    window_destroyed = true;
    HostCloseScreen();
}

// A close of the main window by the user (or the window system). While cycles run, the
// program thread does the close's work at its next cycle end and the window goes once the
// system has stopped; without cycles the window goes at once.
void close_main_window() {
    if (close_requested) return;
    close_requested = true;
    if (HostStarted() && !HostProgramThreadFinished()) {
        HostPostUserClose();
        return;
    }
    HostEndProgramThread(kThreadEndWaitMs);
    HostLog("TUVO CLOSED");
    destroy_main_window();
}

// The program thread has stopped and asks the window to close.
void program_thread_closed() {
    HostEndProgramThread(kThreadEndWaitMs);
    HostLog("TUVO CLOSED");
    destroy_main_window();
}

void paint(bool main) {
    // A headless window is never painted: its start came with its creation, and repaints
    // whose timing depends on the video driver would make runs differ.
    if (HostIsHeadless() && begun) return;
    if (!main) {
        HostPresentDebugMonitor();
        return;
    }
    if (!begun) {
        begun = true;
        if (the_system.start_up) the_system.start_up();
    } else {
        HostPostRepaint();
    }
    HostPresent(true);
}

void dispatch(const SDL_Event& event) {
    // A quit comes from a signal (SIGINT, SIGTERM): the first closes the window as the user
    // would, a second one while that close is still waiting ends the program at once.
    if (event.type == SDL_QUIT) {
        if (close_requested)
            destroy_main_window();
        else
            close_main_window();
        return;
    }
    if (event.type == SDL_WINDOWEVENT) {
        bool main = event.window.windowID == HostMainWindowId();
        if (!main && event.window.windowID != HostDebugMonitorId()) return;
        switch (event.window.event) {
            case SDL_WINDOWEVENT_SHOWN:
            case SDL_WINDOWEVENT_EXPOSED:
                paint(main);
                return;
            case SDL_WINDOWEVENT_CLOSE:
                // Closing the debug monitor does nothing.
                if (main) close_main_window();
                return;
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                if (main) {
                    HostNoteWindowSize();
                    HostPresent(true);
                }
                return;
            default:
                if (!main) return;
                break;
        }
    }
    if (HostControllerEvent(event)) return;
    switch (HostWindowInput(event, HostPresentLayout(), HostOutputScale())) {
        case WindowAction::ToggleFullscreen:
            HostToggleFullscreen();
            break;
        case WindowAction::Screenshot:
            HostTakeScreenshot();
            break;
        case WindowAction::ToggleMute:
            HostSetMuted(!HostSoundMuted());
            std::fprintf(stderr, "noma: sound %s\n", HostSoundMuted() ? "off" : "on");
            break;
        case WindowAction::None:
            break;
    }
}

// With NOMA_STARTUP_REPORT set, the moment of the first presented frame of the started system
// (wall clock, for measurements from outside) and the memory in use then go to stderr.
void report_startup() {
    if (startup_reported || !HostStarted() || !HostPresentedOnce()) return;
    startup_reported = true;
    if (!std::getenv("NOMA_STARTUP_REPORT")) return;
    auto elapsed = std::chrono::steady_clock::now() - process_start;
    auto wall = std::chrono::system_clock::now().time_since_epoch();
    long rss_kb = 0;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "VmRSS: %ld", &rss_kb) == 1) break;
        std::fclose(status);
    }
    std::fprintf(stderr,
                 "noma: first frame at %.6f s, %.1f ms after the program began, RSS %ld kB\n",
                 std::chrono::duration<double>(wall).count(),
                 std::chrono::duration<double, std::milli>(elapsed).count(), rss_kb);
}

// The message loop. A message is handled as soon as it comes; without one the loop waits
// for the next message, at most 1 ms while the start is not made yet and otherwise until its
// next look at the surface.
void message_loop() {
    while (!HostScreenClosed()) {
        HostApplyTitle();
        HostPresent(false);
        report_startup();
        if (HostProgramThreadFinished() && !window_destroyed) program_thread_closed();
        if (HostScreenClosed()) break;
        uint32_t wait = !begun ? 1 : std::max<uint32_t>(1, HostPresentDueIn());
        uint32_t pad = HostControllerTick(SDL_GetTicks(), HostPresentLayout(), HostOutputScale());
        if (pad) wait = std::min(wait, pad);
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, int(wait))) {
            dispatch(event);
            while (SDL_PollEvent(&event))
                dispatch(event);
        }
    }
}

// Headless runs take SDL's dummy video driver: windows in memory only, no graphics stack
// loaded.
// Without a display SDL would fall back to a driver that shows nothing, and the game would run
// where nobody can see or end it: such a run is refused unless a driver was chosen on purpose.
constexpr const char* kNoDisplay =
    "noma: no display to open a window on (DISPLAY and WAYLAND_DISPLAY lead nowhere).\n"
    "      Run 'noma --headless' to play without a window (with --input for scripted input).\n";

// The player's settings of the run: player.ini in the game's folder, the command line over it.
// A soundfont named on the command line is found relative to where noma was started.
void take_player_settings(const HostOptions& options, const std::string& start_folder) {
    HostOptions given = options;
    if (given.soundfont && !given.soundfont->empty() && (*given.soundfont)[0] != '/' &&
        !start_folder.empty())
        given.soundfont = start_folder + "/" + *given.soundfont;
    settings = MergePlayerSettings(LoadPlayerSettings(kPlayerSettingsFile), given);
    HostChooseFontFamilies(settings.mincho_font, settings.gothic_font);
    if (!settings.soundfont.empty()) MidiChooseSoundFont(settings.soundfont);
    HostSetVolumes(settings.music_volume, settings.effect_volume);
    HostSetMuted(settings.mute);
    HostSetIntegerScaling(settings.integer_scaling);
}

// The window's size is remembered for the next run when the player changed it in this run
// (a run that never resized writes nothing).
void remember_window_size(bool captionless, int made_width, int made_height) {
    int width = 0, height = 0;
    if (captionless || HostIsHeadless() || !HostWindowedSize(&width, &height)) return;
    if (width == made_width && height == made_height) return;
    if (width == settings.window_width && height == settings.window_height) return;
    if (!SavePlayerWindowSize(kPlayerSettingsFile, width, height))
        std::fprintf(stderr, "noma: cannot write the window size into %s\n", kPlayerSettingsFile);
}

bool init_video(bool headless) {
    bool chosen = std::getenv("SDL_VIDEODRIVER") != nullptr;
    if (headless && !chosen) setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "noma: cannot start the video system: %s\n", SDL_GetError());
        if (!headless) std::fputs(kNoDisplay, stderr);
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!headless && !chosen && driver &&
        (!std::strcmp(driver, "offscreen") || !std::strcmp(driver, "dummy"))) {
        std::fputs(kNoDisplay, stderr);
        SDL_Quit();
        return false;
    }
    return true;
}

// The screen size and window kind by the screen rule.
bool screen_is_captionless() {
    SDL_DisplayMode mode{};
    int display_width = 0, display_height = 0;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        display_width = mode.w;
        display_height = mode.h;
    }
    int configured_width = -1, configured_height = -1;
    if (the_system.configured_screen)
        the_system.configured_screen(&configured_width, &configured_height);
    ScreenChoice choice = ChooseScreen(display_width, display_height, configured_width,
                                       configured_height, g_screen_width, g_screen_height);
    g_screen_width = int16_t(choice.width);
    g_screen_height = int16_t(choice.height);
    return choice.captionless;
}

}  // namespace

void HostEndProgram(int status) {
    exit_status = status;
    destroy_main_window();
}

int HostMain(const HostOptions& options, const HostSystem& system) {
    the_system = system;
    if (options.help) {
        std::fputs(kHostUsage, stdout);
        return 0;
    }
    // An input file named relative to where noma was started is found there; otherwise it is
    // looked for in the working folder.
    std::string input = options.input;
    char here[4096];
    std::string start_folder = getcwd(here, sizeof here) ? here : "";
    if (!input.empty() && input[0] != '/' && access(input.c_str(), R_OK) == 0 &&
        !start_folder.empty())
        input = start_folder + "/" + input;
    if (!options.data.empty() && chdir(options.data.c_str()) != 0) {
        std::fprintf(stderr, "noma: cannot change to the folder %s\n", options.data.c_str());
        return 1;
    }
    // One copy per working folder: a second one ends at once.
    if (!HostLockInstance()) return 0;
    take_player_settings(options, start_folder);
    if (!input.empty()) {
        std::string error;
        if (!HostLoadScript(input.c_str(), &error)) {
            std::fprintf(stderr, "noma: %s\n", error.c_str());
            return 2;
        }
    }
    if (options.headless) {
        HostSetHeadless(true);
        HostUseVirtualClock(true);
        if (options.report) HostStartUseReport(uint32_t(options.report) * 1000u, system.pool_use);
        if (!std::getenv("SDL_AUDIODRIVER")) setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_IME_SHOW_UI, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (!init_video(options.headless)) return 1;
    SDL_StartTextInput();
    // Controllers in windowed runs only: a headless run is driven by its script alone.
    if (!options.headless && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        std::fprintf(stderr, "noma: no game controllers: %s\n", SDL_GetError());

    if (the_system.debug_monitor && the_system.debug_monitor()) {
        HostLog("でばっぐもにたー"_sj);
        HostCreateDebugMonitor();
    }
    bool captionless = screen_is_captionless();
    // The size the player last gave the window wins over the file's scale (a --scale on the
    // command line has already dropped it).
    bool remembered = settings.window_width > 0 && settings.window_height > 0;
    if (!HostCreateMainWindow(captionless, remembered ? 0 : settings.scale, settings.fullscreen,
                              options.headless, settings.window_width, settings.window_height)) {
        SDL_Quit();
        return 1;
    }
    int made_width = 0, made_height = 0;
    HostWindowedSize(&made_width, &made_height);
    HostWatchDisplayLoss();
    if (!HostStartProgramThread()) HostShowBox("THREAD CREATE ERROR!", BoxIcon::Stop);
    // No paint ever comes to a headless window: the system starts right away.
    if (options.headless) paint(true);

    message_loop();

    if (!HostEndProgramThread(kThreadEndWaitMs)) {
        // The program thread is stuck inside a task: the process ends without it, and says so.
        std::fprintf(stderr,
                     "noma: the program thread did not stop within %u ms; ending without it\n",
                     kThreadEndWaitMs);
        std::fflush(nullptr);
        std::_Exit(1);
    }
    // Streams the system left open (the log, when the program ends without a shutdown) are
    // closed as the runtime closes them at a program's end.
    HostCloseAllFiles();
    HostCloseSound();
    remember_window_size(captionless, made_width, made_height);
    HostCloseControllers();
    HostDestroyWindows();
    SDL_Quit();
    return exit_status;
}
