#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>

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
