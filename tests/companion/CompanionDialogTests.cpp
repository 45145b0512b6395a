#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <functional>

#include "Companion.h"
#include "SuiteAccess.h"
#include "TempDir.h"

namespace
{
// Runs action on the companion's dialog once it is on screen; the dialog runs its own
// event loop inside the call, so the test reaches it from a timer.
void WhenDialogShown(std::function<void(QWidget*)> action)
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout,
                     [poll, action]
                     {
                         if (QWidget* dialog = QApplication::activeModalWidget())
                         {
                             poll->stop();
                             poll->deleteLater();
                             action(dialog);
                         }
                     });
    poll->start();
}

void Press(QWidget* dialog, QDialogButtonBox::StandardButton which)
{
    auto* box = dialog->findChild<QDialogButtonBox*>();
    ASSERT_NE(box, nullptr);
    box->button(which)->click();
}

QString LabelText(QWidget* dialog, const char* name)
{
    auto* label = dialog->findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

struct CompanionDialogs : ::testing::Test
{
    TempDir registry;
    void SetUp() override { ::setenv("QUILLMOOR_REGISTRY_DIR", registry.Path().c_str(), 1); }
    void TearDown() override { ::unsetenv("QUILLMOOR_REGISTRY_DIR"); }
};

const std::string kGames = "\\Games Configuration\\";
} // namespace

TEST_F(CompanionDialogs, ConfigGamesStoresTheChangedRowsOnOk)
{
    WriteSuiteString(kGames + "FreeSpace 2", "Path", "/old/fs2");
    WriteSuiteString(kGames + "Summoner", "Path", "/games/summoner");
    QStringList shown;
    WhenDialogShown(
        [&](QWidget* dialog)
        {
            for (auto* edit : dialog->findChildren<QLineEdit*>())
                shown << edit->objectName() + "=" + edit->text();
            dialog->findChild<QLineEdit*>("FreeSpace 1")->setText("/games/fs1/");
            dialog->findChild<QLineEdit*>("FreeSpace 2")->clear();
            // Another tool of the suite changes a row meanwhile; this dialog did not touch it.
            WriteSuiteString(kGames + "Summoner", "Path", "/moved/summoner");
            Press(dialog, QDialogButtonBox::Ok);
        });
    CallCompanion("DoConfigGames");

    EXPECT_EQ(shown,
              QStringList(
                  {"FreeSpace 1=", "FreeSpace 1 OEM=", "FreeSpace 1 Demo=", "FreeSpace 2=/old/fs2/",
                   "FreeSpace 2 Demo=", "Summoner=/games/summoner/", "Summoner Demo="}));
    EXPECT_EQ(ReadSuiteString(kGames + "FreeSpace 1", "Path"), "/games/fs1/");
    EXPECT_EQ(ReadSuiteString(kGames + "FreeSpace 2", "Path"), "");
    EXPECT_EQ(ReadSuiteString(kGames + "Summoner", "Path"), "/moved/summoner");
}

TEST_F(CompanionDialogs, ConfigGamesCancelStoresNothing)
{
    WhenDialogShown(
        [](QWidget* dialog)
        {
            dialog->findChild<QLineEdit*>("Summoner Demo")->setText("/games/sdemo");
            Press(dialog, QDialogButtonBox::Cancel);
        });
    CallCompanion("DoConfigGames");
    EXPECT_EQ(ReadSuiteString(kGames + "Summoner Demo", "Path"), "");
}

TEST_F(CompanionDialogs, AboutAndVersionCheckShowTheModuleInformation)
{
    QString name, version, installed, result;
    WhenDialogShown(
        [&](QWidget* dialog)
        {
            name = LabelText(dialog, "programName");
            version = LabelText(dialog, "version");
            Press(dialog, QDialogButtonBox::Ok);
        });
    CallCompanion("DoAbout");
    EXPECT_TRUE(name.contains("Vantorel ORBISTAV")) << name.toStdString();
    EXPECT_EQ(version, "2.0 (Build 1)");

    WhenDialogShown(
        [&](QWidget* dialog)
        {
            installed = LabelText(dialog, "installed");
            result = LabelText(dialog, "result");
            Press(dialog, QDialogButtonBox::Ok);
        });
    CallCompanion("DoVXVC");
    EXPECT_TRUE(installed.contains("2.0 (Build 1)")) << installed.toStdString();
    EXPECT_TRUE(installed.contains("Build: 1"));
    EXPECT_TRUE(result.startsWith("No update information could be obtained"))
        << result.toStdString();

    // An entry the library does not export does nothing.
    CallCompanion("DoSomethingElse");
}

int main(int argc, char** argv)
{
    // Headless also when CTest lists the tests.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
