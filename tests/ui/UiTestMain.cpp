#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

#include "CFlatLookManager.h"
#include "UiTestColours.h"

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    // As the program does at start-up; the palette after it, since the look sets the style.
    CFlatLookManager::Instance().InstallHook(-1, CFlatLookManager::MODE_DIALOGS);
    QApplication::setPalette(TestPalette());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
