#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>

// libdbus keeps the output of a failed session-bus autolaunch (a DISPLAY without a bus), which
// SDL's audio start goes through; that is not this program's leak.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n";
}

int main(int argc, char** argv)
{
    // Headless unless the caller chose a platform.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Sounds go nowhere unless a test chooses an audio driver.
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
