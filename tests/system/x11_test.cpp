// The real window path: noma on an X server (Xvfb) with SDL's x11 driver and the real clock.
// Its window is found and shown to the user's actions with xdotool; the close button is the
// window manager's close message (WM_DELETE_WINDOW), sent to the window as a window manager
// would. Skipped where Xvfb or xdotool is missing.
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <sstream>
#include <thread>

#include "system/system_run.h"

extern char** environ;

namespace {

// Xlib, loaded at run time: the tests need only the close message.
struct XEventClient {
    int type;
    unsigned long serial;
    int send_event;
    void* display;
    unsigned long window;
    unsigned long message_type;
    int format;
    long data[5];
};
union XEventAny {
    XEventClient client;
    long pad[24];
};

bool send_close(const std::string& display_name, unsigned long window) {
    void* lib = dlopen("libX11.so.6", RTLD_NOW);
    if (!lib) return false;
    auto open_display = reinterpret_cast<void* (*)(const char*)>(dlsym(lib, "XOpenDisplay"));
    auto intern =
        reinterpret_cast<unsigned long (*)(void*, const char*, int)>(dlsym(lib, "XInternAtom"));
    auto send = reinterpret_cast<int (*)(void*, unsigned long, int, long, XEventAny*)>(
        dlsym(lib, "XSendEvent"));
    auto flush = reinterpret_cast<int (*)(void*)>(dlsym(lib, "XFlush"));
    auto close_display = reinterpret_cast<int (*)(void*)>(dlsym(lib, "XCloseDisplay"));
    void* display = open_display ? open_display(display_name.c_str()) : nullptr;
    if (!display) return false;
    XEventAny event{};
    event.client.type = 33;  // ClientMessage
    event.client.display = display;
    event.client.window = window;
    event.client.message_type = intern(display, "WM_PROTOCOLS", 0);
    event.client.format = 32;
    event.client.data[0] = long(intern(display, "WM_DELETE_WINDOW", 0));
    event.client.data[1] = 0;  // CurrentTime
    send(display, window, 0, 0, &event);
    flush(display);
    close_display(display);
    return true;
}

class X11Window : public SystemTest {
protected:
    void SetUp() override {
        SystemTest::SetUp();
        if (Command("command -v Xvfb").empty() || Command("command -v xdotool").empty())
            GTEST_SKIP() << "Xvfb or xdotool is not installed";
        UseData("boot");
        // Servers started at the same moment (tests run side by side) can pick the same free
        // display; the one that loses the display's lock ends at once. Another try picks anew.
        bool answered = false;
        for (int attempt = 0; attempt < 8 && !answered; ++attempt) {
            // Tries spread out in time, differently in each process.
            if (attempt)
                std::this_thread::sleep_for(
                    std::chrono::milliseconds(100 * attempt + 20 * (getpid() % 7)));
            StartServer();
            answered = ServerAnswers();
        }
        ASSERT_TRUE(answered) << "no answer from " << display_ << ": " << Read(".xvfb");
    }
    void TearDown() override {
        StopServer();
        SystemTest::TearDown();
    }

    void StopServer() {
        if (server_ > 0) {
            kill(server_, SIGTERM);
            waitpid(server_, nullptr, 0);
        }
        server_ = -1;
        if (number_fd_ >= 0) close(number_fd_);
        number_fd_ = -1;
    }

    // Our own server, still running, answers on its display (a server that lost the lock to
    // another one has ended, and the display's answer would be the other one's). The number
    // comes before the server takes connections, and a loaded machine can be slow to answer:
    // asked again for up to 10 s while the server runs.
    bool ServerAnswers() {
        for (int i = 0; i < 500 && server_ > 0; ++i) {
            if (waitpid(server_, nullptr, WNOHANG) == server_) {
                server_ = -1;
                return false;
            }
            if (!Xdotool("getdisplaygeometry").empty()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    void StartServer() {
        StopServer();
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 3);
        posix_spawn_file_actions_addopen(&actions, 2, (folder_ + "/.xvfb").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const char* argv[] = {"Xvfb",        "-displayfd", "3",   "-screen", "0",
                              "1024x768x24", "-nolisten",  "tcp", nullptr};
        ASSERT_EQ(posix_spawnp(&server_, "Xvfb", &actions, nullptr, const_cast<char* const*>(argv),
                               environ),
                  0);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        // The server writes its number and then a line feed; the pipe stays open as long as the
        // server runs, or its second write would fail.
        number_fd_ = fds[0];
        std::string number;
        char c;
        while (read(number_fd_, &c, 1) == 1 && c != '\n')
            number += c;
        if (number.empty()) return;
        display_ = ":" + number;
    }

    // SDL's software renderer without GL under it: the X server has no graphics card, and the
    // GL stack in its place (llvmpipe) synchronises its threads in ways the thread checker
    // cannot see. The leak checker stays off: the desktop libraries (D-Bus, X) keep blocks of
    // their own.
    pid_t StartNoma() {
        return Start({}, {"DISPLAY=" + display_, "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=dummy",
                          "SDL_RENDER_DRIVER=software", "SDL_FRAMEBUFFER_ACCELERATION=0",
                          "ASAN_OPTIONS=detect_leaks=0"});
    }

    std::string Xdotool(const std::string& arguments) {
        return Command("DISPLAY=" + display_ + " xdotool " + arguments + " 2>/dev/null");
    }

    // The windows titled "TUVO" with their sizes.
    struct Window {
        unsigned long id;
        int width, height;
    };
    std::vector<Window> Windows() {
        std::vector<Window> windows;
        std::istringstream ids(Xdotool("search --sync --name '^TUVO$'"));
        for (unsigned long id; ids >> id;) {
            std::string geometry = Xdotool("getwindowgeometry " + std::to_string(id));
            Window w{id, 0, 0};
            size_t at = geometry.find("Geometry: ");
            if (at != std::string::npos)
                std::sscanf(geometry.c_str() + at, "Geometry: %dx%d", &w.width, &w.height);
            windows.push_back(w);
        }
        return windows;
    }

    pid_t server_ = -1;
    int number_fd_ = -1;
    std::string display_;
};

TEST_F(X11Window, StartsOnThePaintAndClosesInOrder) {
    pid_t noma = StartNoma();
    ASSERT_TRUE(WaitForLog("System start", 30000)) << display_ << ": " << Read(".err1");
    std::vector<Window> windows = Windows();
    ASSERT_EQ(windows.size(), 1u);
    // The screen of NOMA.ini in a captioned window, at a whole multiple of its size.
    EXPECT_EQ(windows[0].width % 640, 0);
    EXPECT_EQ(windows[0].height % 480, 0);
    // A later expose is the program thread's repaint.
    Xdotool("windowunmap --sync " + std::to_string(windows[0].id));
    Xdotool("windowmap --sync " + std::to_string(windows[0].id));
    EXPECT_TRUE(WaitForLog("TUVO window redraw call for WINDOWS", 10000));
    ASSERT_TRUE(send_close(display_, windows[0].id));
    NomaRun run = Wait(noma, 30000);
    ASSERT_FALSE(run.timed_out);
    EXPECT_EQ(run.exit_status, 0) << run.err;
    EXPECT_TRUE(LogInOrder(
        {"    TUVO 0.605 active", "**** START! THREAD PROGRAM!! ****", "System ready",
         "System start", "TUVO CLOSED", "TUVO Direct close request!",
         Sj("ShutDownEventを受け取りました　終了します。"), Sj("終了時ｵｰﾌﾟﾝされていたｽﾄﾘｰﾑ数 *")}));
}

// The window killed from outside (its X connection goes): the system still shuts down in
// order, the log is complete, and the process ends without an abort.
TEST_F(X11Window, AKilledWindowStillShutsDownInOrder) {
    pid_t noma = StartNoma();
    ASSERT_TRUE(WaitForLog("System start", 30000)) << display_ << ": " << Read(".err1");
    std::vector<Window> windows = Windows();
    ASSERT_EQ(windows.size(), 1u);
    Xdotool("windowkill " + std::to_string(windows[0].id));
    NomaRun run = Wait(noma, 30000);
    ASSERT_FALSE(run.timed_out);
    EXPECT_GE(run.exit_status, 0) << "ended by a signal: " << run.err;
    EXPECT_EQ(run.err.find("terminate called"), std::string::npos) << run.err;
    EXPECT_TRUE(LogInOrder({"System start", "TUVO the display connection is lost", "TUVO CLOSED",
                            Sj("ShutDownEventを受け取りました　終了します。"),
                            Sj("終了時ｵｰﾌﾟﾝされていたｽﾄﾘｰﾑ数 *")}));
}

// A box the desktop cannot show is drawn in the game's window: the start waits for its
// answer, and a key gives it.
TEST_F(X11Window, ABoxDrawnInTheWindowWaitsForAKey) {
    SetIni("MEMORY_TYPE", "PDP");
    pid_t noma = Start({}, {"DISPLAY=" + display_, "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=dummy",
                            "SDL_RENDER_DRIVER=software", "SDL_FRAMEBUFFER_ACCELERATION=0",
                            "NOMA_BOX_IN_WINDOW=1", "ASAN_OPTIONS=detect_leaks=0"});
    const std::string box = "TUVO: " + Sj("SYSTEM.iniのMEMORY_TYPEが記述が違います！");
    ASSERT_TRUE(WaitForLog(box, 30000)) << Read(".err1");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_FALSE(WaitForLog("System start", 10)) << "the start must wait for the box";
    std::vector<Window> windows = Windows();
    ASSERT_EQ(windows.size(), 1u);
    Xdotool("key --window " + std::to_string(windows[0].id) + " Return");
    ASSERT_TRUE(WaitForLog("System start", 30000));
    ASSERT_TRUE(send_close(display_, windows[0].id));
    NomaRun run = Wait(noma, 30000);
    EXPECT_EQ(run.exit_status, 0) << run.err;
}

}  // namespace
