// A system stopped and started again inside one process starts as the first start did: the
// same screen size, the same picture and the same start-up log, whatever the first run left
// behind (an editor opened through the system menu, a screen size read from NOMA.ini).
#include <cstdint>
#include <string>
#include <vector>

#include "host/screen.h"
#include "host/surface.h"
#include "kernel/scheduler.h"
#include "system/in_process.h"
#include "window/editor.h"
#include "window/window.h"

namespace {

struct StartView {
    int surface_width = 0, surface_height = 0;
    int screen_width = 0, screen_height = 0;
    std::vector<uint32_t> pixels;
    std::vector<std::string> log;
};

class RestartRun : public InProcessRun {
protected:
    StartView Look() {
        RunFor(500);
        StartView v;
        v.surface_width = HostSurfaceWidth();
        v.surface_height = HostSurfaceHeight();
        v.screen_width = g_screen_width;
        v.screen_height = g_screen_height;
        if (const uint32_t* p = HostSurfacePixels())
            v.pixels.assign(p, p + size_t(v.surface_width) * size_t(v.surface_height));
        // The install record in the folder counts the starts: its lines differ by design.
        for (const std::string& line : Log())
            if (line.rfind("\tinstall", 0) != 0 && line.rfind("\tversion up", 0) != 0 &&
                line.rfind("\trevision up", 0) != 0)
                v.log.push_back(line);
        return v;
    }
};

TEST_F(RestartRun, AStartAfterAStopIsTheFirstStartAgain) {
    StartView first = Look();
    ASSERT_FALSE(first.pixels.empty());
    EXPECT_EQ(first.screen_width, 640) << "the data's NOMA.ini sets the screen size";
    OpenEditorFromTheSystemMenu();

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        Restart();
        StartView again = Look();
        EXPECT_EQ(again.surface_width, first.surface_width);
        EXPECT_EQ(again.surface_height, first.surface_height);
        EXPECT_EQ(again.screen_width, first.screen_width);
        EXPECT_EQ(again.screen_height, first.screen_height);
        EXPECT_EQ(again.log, first.log);
        ASSERT_EQ(again.pixels.size(), first.pixels.size());
        size_t differing = 0;
        for (size_t i = 0; i < first.pixels.size(); ++i)
            differing += again.pixels[i] != first.pixels[i];
        EXPECT_EQ(differing, 0u) << "the restarted screen differs from the first";
        EXPECT_TRUE(g_editor.ready);
        EXPECT_EQ(g_editor.slots[0].window, 0u) << "no editor is left from the first run";
        // The started system works as the first did: its editor opens in the first slot.
        OpenEditorFromTheSystemMenu();
    }
}

}  // namespace
