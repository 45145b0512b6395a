#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>

#include "CORBISTAVView.h"
#include "COptions.h"
#include "COptions1.h"
#include "COptions2.h"
#include "GuiTestSupport.h"
#include "IniAccess.h"
#include "Settings.h"
#include "SuiteAccess.h"
#include "VpBuilder.h"

namespace
{
std::vector<int> StoredSettings()
{
    std::vector<int> values;
    for (const char* pszName : {kSettingSoundAutoRepeatWAV, kSettingAutoStopPreview,
                                kSettingSoundAutoPlayWAV, kSettingAutoPlayANI, kSettingAutoShowPCX,
                                kSettingInterfaceDisplayAsKB, kSettingInterfaceShowGrid})
        values.push_back(ReadSetting(pszName, 99));
    return values;
}

QCheckBox* Check(COptions& sheet, int nId)
{
    return qobject_cast<QCheckBox*>(sheet.SettingsPage()->GetDlgItem(nId));
}

QComboBox* List(COptions& sheet, int nId)
{
    return qobject_cast<QComboBox*>(sheet.SettingsPage()->GetDlgItem(nId));
}

struct OptionsTest : GuiTest
{
    // Runs the options command; act is given the open sheet. A sheet that act leaves open
    // is cancelled, so a failed check never leaves the test waiting.
    void RunOptions(const std::function<void(COptions&)>& act)
    {
        bool bSeen = false;
        auto actOnSheet = [&]
        {
            auto* pSheet = qobject_cast<COptions*>(QApplication::activeModalWidget());
            if (pSheet == nullptr)
                return;
            bSeen = true;
            act(*pSheet);
            if (pSheet->isVisible())
                pSheet->reject();
        };
        QTimer::singleShot(0, actOnSheet);
        EXPECT_TRUE(Frame().Commands().Run(ID_OPTIONS));
        EXPECT_TRUE(bSeen) << "the options sheet did not open modally";
    }
    QString FirstSize() const
    {
        return Frame().GetListView()->model()->index(0, 2).data().toString();
    }
};
} // namespace

TEST_F(OptionsTest, OkWithoutChangesWritesTheSevenValuesAsShown)
{
    ASSERT_TRUE(WriteSetting(kSettingSoundAutoRepeatWAV, 5));
    ASSERT_TRUE(WriteSetting(kSettingAutoShowPCX, 0));
    ASSERT_TRUE(Start());
    RunOptions(
        [](COptions& sheet)
        {
            EXPECT_EQ(sheet.windowTitle(), "Options & Configuration");
            QTabWidget* pTabs = sheet.TabControl();
            EXPECT_EQ(pTabs->tabText(0) + "," + pTabs->tabText(1), "Settings,Games");
            EXPECT_EQ(pTabs->count(), 2);
            EXPECT_EQ(pTabs->currentIndex(), 0);

            // A loop mode that is not one of the choices shows no selection.
            EXPECT_EQ(List(sheet, 1007)->currentIndex(), -1);
            EXPECT_FALSE(Check(sheet, 1011)->isChecked());
            for (const int nId : {1005, 1010, 1012, 1014, 1016})
                EXPECT_TRUE(Check(sheet, nId)->isChecked()) << nId;
            // The options without effect: disabled, unticked, no selection.
            for (const int nId : {1004, 1006})
                EXPECT_FALSE(Check(sheet, nId)->isEnabled() || Check(sheet, nId)->isChecked());
            EXPECT_FALSE(List(sheet, 1008)->isEnabled());
            EXPECT_EQ(List(sheet, 1008)->currentIndex(), -1);

            QTest::mouseClick(sheet.OkButton(), Qt::LeftButton);
        });
    EXPECT_EQ(StoredSettings(), std::vector<int>({-1, 1, 1, 1, 0, 1, 1}));
    EXPECT_EQ(app->m_nSoundAutoRepeatWAV, -1);
}

TEST_F(OptionsTest, ChangesShowAtOnceAfterOkAndCancelWritesNothingButStillRefills)
{
    VpBuilder vp;
    vp.Dir("data").File("big.tbl", std::string(3000, 'x')).Up();
    vp.WriteTo(world / "data.vp");
    ASSERT_TRUE(Start(QString::fromStdString(world / "data.vp")));
    CORBISTAVView* pList = Frame().GetListView();
    EXPECT_EQ(FirstSize(), "2 kB");
    EXPECT_TRUE(pList->showGrid());

    RunOptions(
        [](COptions& sheet)
        {
            Check(sheet, 1005)->click();
            Check(sheet, 1016)->click();
            List(sheet, 1007)->setCurrentIndex(2);
            QTest::mouseClick(sheet.OkButton(), Qt::LeftButton);
        });
    EXPECT_EQ(FirstSize(), "3000");
    EXPECT_FALSE(pList->showGrid());
    EXPECT_EQ(StoredSettings(), std::vector<int>({2, 1, 1, 1, 1, 0, 0}));

    // Cancel stores nothing from the page, but what is stored meanwhile takes effect.
    RunOptions(
        [](COptions& sheet)
        {
            Check(sheet, 1011)->click();
            Check(sheet, 1005)->click();
            WriteSetting(kSettingInterfaceDisplayAsKB, 1);
            QTest::mouseClick(sheet.CancelButton(), Qt::LeftButton);
        });
    EXPECT_EQ(StoredSettings(), std::vector<int>({2, 1, 1, 1, 1, 1, 0}));
    EXPECT_EQ(FirstSize(), "2 kB");
}

TEST_F(OptionsTest, GamesPageWritesTheLegacyTableOnlyWhenShownWithTheCompanionsChanges)
{
    const std::string cfg = "[Directories]\r\nKroy3=C:\\Kroy\r\n";
    std::filesystem::create_directories(world / "drive_c/Kroy");
    WriteBytes(world / "drive_c/kroy.cfg", std::vector<unsigned char>(cfg.begin(), cfg.end()));
    const std::string ini = world / "drive_c/Kroy/vantorel.ini";
    ASSERT_TRUE(WriteSuiteString("\\Games Configuration\\FreeSpace 2", "Path",
                                 world / "drive_c/Games/FS2"));
    ASSERT_TRUE(Start());

    RunOptions([](COptions& sheet) { QTest::mouseClick(sheet.OkButton(), Qt::LeftButton); });
    EXPECT_FALSE(std::filesystem::exists(ini));

    // The user sets FreeSpace 1 in the suite's own dialog, then confirms the sheet.
    platform.companionDoes = [&](const std::string&) {
        WriteSuiteString("\\Games Configuration\\FreeSpace 1", "Path", world / "drive_c/Games/FS1");
    };
    RunOptions(
        [this](COptions& sheet)
        {
            QTabBar* pTabs = sheet.TabControl()->tabBar();
            QTest::mouseClick(pTabs, Qt::LeftButton, {}, pTabs->tabRect(1).center());
            EXPECT_EQ(sheet.GamesPage()->GetDlgItem(1013)->property("text"),
                      "&Configure game paths");
            QApplication::setActiveWindow(&sheet);
            QTest::keyClick(&sheet, Qt::Key_C, Qt::AltModifier);
            // A mnemonic holds its button down for a moment before it clicks.
            EXPECT_TRUE(QTest::qWaitFor([&] { return !platform.companionCalls.isEmpty(); }));
            QTest::mouseClick(sheet.OkButton(), Qt::LeftButton);
        });
    EXPECT_EQ(platform.companionCalls, QStringList({"DoConfigGames"}));
    auto legacy = [&](const char* pszSection, const char* pszKey)
    { return GetPrivateProfileStringA(pszSection, pszKey, "<none>", ini); };
    EXPECT_EQ(legacy("FreeSpace", "FS1Full"), "C:\\Games\\FS1\\");
    EXPECT_EQ(legacy("FreeSpace", "FS2Full"), "C:\\Games\\FS2\\");
    // Editions without a directory are written empty.
    EXPECT_EQ(legacy("FreeSpace", "FS1Demo") + legacy("FreeSpace", "FS2Demo") +
                  legacy("Summoner", "S1Full"),
              "");
}
