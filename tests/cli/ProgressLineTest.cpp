#include <gtest/gtest.h>

#include <sstream>

#include "CProgressLine.h"

TEST(ProgressLine, RedrawsAtMostTenTimesASecondAndClearsAtTheEnd)
{
    std::ostringstream out;
    CProgressLine::Clock::time_point now{};
    {
        CProgressLine line(out, true, 3);
        line.SetClock([&] { return now; });
        line.AddBytes(1000);
        EXPECT_EQ(out.str(), ""); // a quick extraction never shows it
        now += std::chrono::milliseconds(500);
        line.FileDone();
        EXPECT_EQ(out.str(), "\r\033[K1/3 files, 1000 B, 2.0 KiB/s");
        now += std::chrono::milliseconds(50);
        line.AddBytes(3 << 20);
        EXPECT_EQ(out.str(), "\r\033[K1/3 files, 1000 B, 2.0 KiB/s");
        now += std::chrono::milliseconds(50);
        line.FileDone();
        EXPECT_EQ(out.str().substr(out.str().rfind('\r')), "\r\033[K2/3 files, 3.0 MiB, 5.0 MiB/s");
    }
    EXPECT_EQ(out.str().substr(out.str().rfind('\r')), "\r\033[K");

    std::ostringstream quiet;
    {
        CProgressLine line(quiet, false, 3);
        line.SetClock([&] { return now; });
        now += std::chrono::seconds(5);
        line.FileDone();
    }
    EXPECT_EQ(quiet.str(), "");
}
