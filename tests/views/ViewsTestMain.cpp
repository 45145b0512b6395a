#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include <QApplication>

int main(int argc, char** argv)
{
    // Headless unless the caller chose a platform.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Dates in the list are local time; the expected texts are written for UTC. CTest's
    // environment list cannot carry this through test discovery.
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
