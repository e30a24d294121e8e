// The start screen in the running program: a logo taken away by a click, the title screen's
// button pressed with the mouse, the program task started with the button's number; and a
// start-screen file naming an unknown program, whose dialog the player answers.
#include <cstdlib>
#include <string>
#include <vector>

#include "host/bmp_write.h"
#include "host/png.h"
#include "system/system_run.h"

namespace {

class StartScreenRun : public SystemTest {
protected:
    void SetUp() override {
        SystemTest::SetUp();
        UseData("boot");
        SetIni("StartScreenFile", "TITLE.TXT");
        Picture("LOGO.BMP", 0x204060);
        Picture("BACK.BMP", 0x605040);
    }
    void Picture(const std::string& name, uint32_t colour) {
        std::vector<uint32_t> pixels(640 * 480, colour);
        ASSERT_TRUE(HostWriteBmp((folder_ + "/" + name).c_str(), pixels.data(), 640, 480));
    }
    // Copies a shot out of the working folder for a look (NOMA_KEEP_SHOTS=dir).
    void KeepShot(const std::string& file) {
        if (const char* dir = std::getenv("NOMA_KEEP_SHOTS"))
            Command("cp " + folder_ + "/" + file + " " + dir + "/");
    }
    uint32_t ShotPixel(const std::string& file, int x, int y) {
        std::vector<uint32_t> pixels;
        int width = 0, height = 0;
        if (!HostReadPng((folder_ + "/" + file).c_str(), &pixels, &width, &height)) return ~0u;
        return pixels[size_t(y) * size_t(width) + size_t(x)];
    }
};

TEST_F(StartScreenRun, LogoThenTitleThenAButtonStartsTheGame) {
    Write("TITLE.TXT",
          "LOGO_TITLE LOGO.BMP\nBackGraphic BACK.BMP\n"
          "Button1 1001, 100, 400, Start\nButton2 1002, 300, 400, Load\n"
          "START_PROGRAM Ilvane\n");
    Write("t.input",
          "300 shot logo.png\n400 down 320 240\n450 up\n1000 shot title.png\n"
          "1100 down 320 410\n1150 up\n2000 shot after.png\n2500 close\n");
    NomaRun run = Run({"--headless", "--input", "t.input"});
    ASSERT_FALSE(run.timed_out);
    EXPECT_EQ(run.exit_status, 0) << run.err;
    EXPECT_EQ(ShotPixel("logo.png", 5, 5), 0x204060u);
    EXPECT_EQ(ShotPixel("title.png", 5, 5), 0x605040u);
    EXPECT_NE(ShotPixel("after.png", 5, 5), 0x605040u) << "the title screen is gone";
    EXPECT_TRUE(LogInOrder({"Screen CrateButton() 1001,100,400,Start x100/y400  num 1001",
                            "Screen CrateButton() 1002,300,400,Load x300/y400  num 1002",
                            "DuskIlvane 0.702  start!"}));
}

TEST_F(StartScreenRun, AnUnknownProgramOpensTheMessageDialog) {
    Write("TITLE.TXT", "BackGraphic BACK.BMP\nButton1 5, 100, 400, Go\nSTART_PROGRAM Nobody\n");
    // The dialog's button answers on release, after its guard second.
    Write("t.input", "500 down 110 410\n550 up\n1500 shot dialog.png\n3000 key 13\n4000 close\n");
    NomaRun run = Run({"--headless", "--input", "t.input"});
    ASSERT_FALSE(run.timed_out);
    EXPECT_EQ(run.exit_status, 0) << run.err;
    EXPECT_EQ(LogCount("DuskIlvane"), 0) << "no game started";
    // The title screen has closed; the dialog stands in the middle of the empty screen.
    EXPECT_NE(ShotPixel("dialog.png", 5, 5), 0x605040u);
    EXPECT_NE(ShotPixel("dialog.png", 320, 240), ShotPixel("dialog.png", 5, 5));
    KeepShot("dialog.png");
}

}  // namespace
