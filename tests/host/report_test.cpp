// The headless use report: its option, and one line per period of the clock with the
// resident memory and what the pool reader gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/clock.h"
#include "host/options.h"
#include "host/report.h"

namespace {

PoolUse FakePool() {
    PoolUse use;
    use.live_bytes = 123456;
    use.live_handles = 78;
    use.data_used = 200000;
    use.active_bytes = 100000;
    return use;
}

int Lines(const std::string& text) {
    int n = 0;
    for (size_t at = 0; (at = text.find("noma use:", at)) != std::string::npos; ++at)
        ++n;
    return n;
}

TEST(UseReport, OneLinePerPeriodOfTheClock) {
    HostUseVirtualClock(true);
    HostStartUseReport(60000, FakePool);
    testing::internal::CaptureStderr();
    HostAdvanceClock(59999);
    HostUseReportTick();
    EXPECT_EQ(Lines(testing::internal::GetCapturedStderr()), 0) << "not due yet";
    testing::internal::CaptureStderr();
    HostAdvanceClock(1);
    HostUseReportTick();
    HostUseReportTick();
    std::string out = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Lines(out), 1);
    EXPECT_NE(out.find("pool 123456 bytes 78 handles 200000 used 100000 active"), std::string::npos)
        << out;
    EXPECT_EQ(out.find("rss 0 kB"), std::string::npos) << "the resident set is read";
    // A stall of three periods gives one line, and the next one a period after the due time.
    testing::internal::CaptureStderr();
    HostAdvanceClock(180000);
    HostUseReportTick();
    HostUseReportTick();
    HostAdvanceClock(59999);
    HostUseReportTick();
    EXPECT_EQ(Lines(testing::internal::GetCapturedStderr()), 1);
    testing::internal::CaptureStderr();
    HostAdvanceClock(1);
    HostUseReportTick();
    EXPECT_EQ(Lines(testing::internal::GetCapturedStderr()), 1);
    HostStartUseReport(0, nullptr);
    testing::internal::CaptureStderr();
    HostAdvanceClock(600000);
    HostUseReportTick();
    EXPECT_EQ(Lines(testing::internal::GetCapturedStderr()), 0) << "switched off";
    HostUseVirtualClock(false);
}

TEST(UseReport, TheOptionWantsWholeSeconds) {
    struct Case {
        std::vector<const char*> args;
        bool ok;
        int seconds;
    };
    const std::vector<Case> cases = {
        {{"noma", "--headless", "--report", "60"}, true, 60},
        {{"noma", "--report", "0"}, false, 0},
        {{"noma", "--report", "soon"}, false, 0},
        {{"noma", "--report"}, false, 0},
    };
    for (const Case& c : cases) {
        HostOptions o;
        std::string error;
        EXPECT_EQ(ParseHostOptions(int(c.args.size()), c.args.data(), &o, &error), c.ok)
            << c.args.back();
        if (c.ok) {
            EXPECT_EQ(o.report, c.seconds);
        } else {
            EXPECT_NE(error.find("--report"), std::string::npos) << error;
        }
    }
}

}  // namespace
