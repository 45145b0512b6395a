// ORBISTAV: browse and extract FreeSpace .VP and Summoner/Red Faction .VPP archives.
#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <optional>

#include <QDir>
#include <QFileInfo>
#include <cstring>

#include "CGameFolder.h"
#include "CORBISTAVApp.h"
#include "CORBISTAVDoc.h"
#include "CQtPlatformServices.h"
#include "FontConfigWarmUp.h"

namespace
{
bool HasDisplay()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (const char* value = std::getenv(name); value && *value)
            return true;
    return false;
}

// --help and --version print and leave; more than one archive is a usage error.
std::optional<QStringList> ParseCommandLine(const QCoreApplication& app,
                                            std::optional<QString>* pModList = nullptr)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Browse and extract FreeSpace .VP and Summoner/Red Faction .VPP archives."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("archive"),
                                 QStringLiteral("The .VP or .VPP archive, or the game folder, to open."),
                                 QStringLiteral("[archive|folder]"));
    const QCommandLineOption mod(QStringLiteral("mod"),
                                 QStringLiteral("The mods a game folder is seen with, as the game's "
                                                "-mod takes them: A,B (the first wins)."),
                                 QStringLiteral("LIST"));
    parser.addOption(mod);
    parser.process(app);
    if (pModList && parser.isSet(mod))
        *pModList = parser.value(mod);
    const QStringList args = parser.positionalArguments();
    if (args.size() > 1)
    {
        std::fprintf(stderr, "orbistav: at most one archive can be opened\n");
        return std::nullopt;
    }
    return args;
}

// A game folder named with --mod needs no dialog, so it can be read while Qt connects to
// the display: the folder and the list as the arguments give them, else nothing.
std::optional<std::pair<std::string, std::string>> GameFolderArguments(int argc, char** argv)
{
    std::optional<std::string> folder;
    std::optional<std::string> mods;
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--mod") == 0 && i + 1 < argc)
            mods = argv[++i];
        else if (std::strncmp(argv[i], "--mod=", 6) == 0)
            mods = argv[i] + 6;
        else if (argv[i][0] != '-' && !folder)
            folder = argv[i];
    }
    if (!folder || !mods || !QFileInfo(QString::fromLocal8Bit(*folder)).isDir())
        return std::nullopt;
    return std::make_pair(
        QDir::cleanPath(QFileInfo(QString::fromLocal8Bit(*folder)).absoluteFilePath()).toStdString(),
        QString::fromLocal8Bit(*mods).toStdString());
}

void SetIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("orbistav"));
    QCoreApplication::setApplicationVersion(QStringLiteral("2.0 Beta 03b (Build 106)"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quillmoor"));
}
} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer started;
    started.start();
    if (!HasDisplay())
    {
        QCoreApplication core(argc, argv);
        SetIdentity();
        if (!ParseCommandLine(core))
            return 2;
        std::fprintf(
            stderr,
            "orbistav: no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY "
            "is set).\nOn a machine without a desktop use orbistav-cli, for example:\n"
            "  orbistav-cli list ARCHIVE\n");
        return 1;
    }
    // Two pieces of start-up need no display: the document's tables, which cost a page
    // fault per page of records, and the font configuration. Second threads do them
    // while Qt connects to the display.
    std::future<std::unique_ptr<CORBISTAVDoc>> preparedDoc =
        std::async(std::launch::async, [] { return std::make_unique<CORBISTAVDoc>(); });
    std::future<void> fontConfig = StartFontConfigWarmUp();
    std::future<std::unique_ptr<CGameFolder>> preparedGame;
    if (const auto game = GameFolderArguments(argc, argv))
        preparedGame = std::async(std::launch::async,
                                  [game]
                                  {
                                      auto pFolder = std::make_unique<CGameFolder>();
                                      return pFolder->Open(game->first, game->second)
                                                 ? std::move(pFolder)
                                                 : nullptr;
                                  });
    QApplication qapp(argc, argv);
    SetIdentity();
    std::optional<QString> modList;
    const std::optional<QStringList> parsed = ParseCommandLine(qapp, &modList);
    if (!parsed)
        return 2;
    const QStringList& args = *parsed;

    fontConfig.wait();
    CQtPlatformServices platform;
    CORBISTAVApp app(platform, preparedDoc.get());
    if (preparedGame.valid())
        app.SetPreparedGameFolder(std::move(preparedGame));
    if (!app.InitInstance(args.isEmpty() ? std::nullopt : std::optional<QString>(args.first()),
                          modList))
        return 1;

    // For the start-up benchmark: report the time to the shown window and leave.
    if (std::getenv("ORBISTAV_EXIT_AFTER_START"))
    {
        QTimer::singleShot(0, &qapp,
                           [&]
                           {
                               std::fprintf(stderr, "orbistav: main window shown after %lld ms\n",
                                            static_cast<long long>(started.elapsed()));
                               qapp.quit();
                           });
    }
    return qapp.exec();
}
