// The yardstick of the start-up benchmark: a bare Qt main window with what the program's
// window holds (menu bar, toolbar, tree, table, status bar) at the program's first size,
// and nothing else. Leaves as soon as the window shows when ORBISTAV_EXIT_AFTER_START is
// set, as the program does.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <cmath>
#include <cstdlib>

#include "DialogUnits.h"

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
    // The program's first size: 800 x 600 widened by the platform font against Tahoma 8, as
    // its columns are, so that both windows have the same pixels to paint.
    const double scale = TextWidthScale(pTable->font());
    window.resize(static_cast<int>(std::ceil(800 * scale - 1e-6)),
                  static_cast<int>(std::ceil(600 * scale - 1e-6)));
    window.show();
    if (std::getenv("ORBISTAV_EXIT_AFTER_START"))
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
