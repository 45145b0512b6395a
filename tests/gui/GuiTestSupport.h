#pragma once

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

#include "CCommandTable.h"
#include "CMainFrame.h"
#include "CORBISTAVApp.h"
#include "CRecordingPlatform.h"
#include "TempDir.h"
#include "VpBuilder.h"

// Failures show texts, not UTF-16 code units.
inline void PrintTo(const QString& text, std::ostream* pOut)
{
    *pOut << '"' << text.toStdString() << '"';
}

// \data with the folder row "maps" (holding inner.pcx) above ships.tbl and weapons.tbl;
// callers go on from the root.
inline VpBuilder TwoTablesAndAFolderVp()
{
    VpBuilder vp;
    vp.Dir("data")
        .Dir("maps")
        .File("inner.pcx", "pcx")
        .Up()
        .File("ships.tbl", "#Ships")
        .File("weapons.tbl", "#Weapons")
        .Up();
    return vp;
}

// A started program in a private world: its own registry and Wine drive C.
struct GuiTest : ::testing::Test
{
    TempDir world;
    CRecordingPlatform platform;
    std::unique_ptr<CORBISTAVApp> app;

    void SetUp() override
    {
        ::setenv("QUILLMOOR_REGISTRY_DIR", (world / "registry").c_str(), 1);
        ::setenv("VANTOREL_DRIVE_C", (world / "drive_c").c_str(), 1);
    }
    void TearDown() override
    {
        app.reset();
        ::unsetenv("QUILLMOOR_REGISTRY_DIR");
        ::unsetenv("VANTOREL_DRIVE_C");
    }
    bool Start(const std::optional<QString>& path = std::nullopt)
    {
        app = std::make_unique<CORBISTAVApp>(platform);
        return app->InitInstance(path);
    }
    CMainFrame& Frame() const { return *app->MainFrame(); }
    bool Enabled(int nId) const
    {
        Frame().Commands().UpdateAll();
        return Frame().Commands().Action(nId)->isEnabled();
    }
    QString StatusPane(int n) const
    {
        auto* pLabel = Frame().findChild<QLabel*>(QStringLiteral("statusPane%1").arg(n));
        return pLabel ? pLabel->text() : QStringLiteral("<missing>");
    }
};
