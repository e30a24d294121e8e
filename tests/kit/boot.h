// The test kit: one way to bring up as much of the system as a test, a benchmark or a fuzz
// target needs, in a throw-away working folder, with the same hooks the program installs.
// It holds no test framework, so benchmarks and fuzz targets link it too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A temporary working folder: made under /tmp and entered on construction, left and removed
// with everything in it on destruction.
class TempFolder {
public:
    explicit TempFolder(const char* tag = "noma");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

// Headless, on the virtual clock, no pending input, the composition root's hooks installed and
// a fresh pool of `bytes` with `entries` handle entries holding no resources.
void BootPool(uint32_t bytes = 64u << 20, uint32_t entries = 4096);
// BootPool, the system resources, the kernel's globals reset and the first event: a kernel
// ready for cycles (phase 2, MAX_EVENT 255).
void BootKernel(uint32_t bytes = 64u << 20, uint32_t entries = 4096);
// BootKernel on a `width` x `height` screen in true colour with the system fonts and the
// window system started (root window, system GCs), phase 3.
void BootWindowSystem(int width, int height, uint32_t bytes = 64u << 20, uint32_t entries = 4096);
// Registers the ten tasks of the cycle under their usual ids and opens their events.
void RegisterSystemTasks();
// Undoes the boots: window manager, events, kernel, resources and pool; the real clock again.
void ShutDownBoot();

// Files in the working folder, byte for byte.
void WriteFileBytes(const std::string& name, const std::string& content);
std::string ReadFileBytes(const std::string& name);
// The lines of a text file without their line ends (CR LF or LF).
std::vector<std::string> ReadLines(const std::string& name);

// Shift-JIS bytes of a UTF-8 text, and back.
std::string Sj(const std::string& utf8);
std::string Utf8(const std::string& sjis);

// "x y" on the screen, `dx` and `dy` inside the sub-window of object `number` of `window`: where
// a scripted click lands on that object.
std::string ObjectPoint(uint32_t window, uint16_t number, int dx = 6, int dy = 6);
// "x y" of the middle of a system dialog's button `value`, with the dialog centred as opening
// it puts it.
std::string DialogButtonPoint(int dialog, int value);
