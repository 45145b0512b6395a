// The yardstick of the start-up benchmark: a bare Qt main window with what the program's
// window holds (menu bar, toolbar, tree, table, status bar) at the program's first size,
// and nothing else. Leaves as soon as the window shows when ORBISTAV_EXIT_AFTER_START is
// set, as the program does.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QMainWindow>
#include <QMenuBar>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <cstdlib>

#include "DialogUnits.h"
#include "FramePlacement.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    for (const char* title : {"&File", "&Action", "&Tools", "&Help"})
    {
        QMenu* pMenu = window.menuBar()->addMenu(QString::fromLatin1(title));
        pMenu->addAction(QStringLiteral("Command"));
    }
    QToolBar* pBar = window.addToolBar(QStringLiteral("Toolbar"));
    pBar->addAction(QStringLiteral("Load"));
    auto* pSplitter = new QSplitter(&window);
    auto* pTree = new QTreeWidget(pSplitter);
    pTree->addTopLevelItem(new QTreeWidgetItem(QStringList(QStringLiteral("data"))));
    auto* pTable = new QTableView(pSplitter);
    auto* pModel = new QStandardItemModel(9, 4, pTable);
    pTable->setModel(pModel);
    window.setCentralWidget(pSplitter);
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    // The program's first size and place, by its own rule, so that both windows have the
    // same pixels to paint.
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    window.setGeometry(InitialPlacement(available, TextWidthScale(pTable->font()), 0).geometry);
    window.show();
    if (std::getenv("ORBISTAV_EXIT_AFTER_START"))
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
