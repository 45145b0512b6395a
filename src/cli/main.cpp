// orbistav-cli: lists, extracts, prints, digests and renders the entries of .VP and .VPP
// archives, and packs, compresses and verifies .VP archives, from the command line.
#include <CLI/CLI.hpp>
#include <iostream>
#include <optional>

#include "CCliArchive.h"
#include "CCliGameFolder.h"
#include "ConfigCommand.h"
#include "DupsCommand.h"
#include "EntryContentCommands.h"
#include "ExitCodes.h"
#include "EditCommands.h"
#include "ExtractCommand.h"
#include "GameFolderCommands.h"
#include "ListCommand.h"
#include "ModelCommand.h"
#include "PackCommand.h"
#include "RenderCommand.h"
#include "VerifyCommand.h"
#include "WhichCommand.h"

int main(int argc, char** argv)
{
    CLI::App app{"List, extract, print, digest and render the files of FreeSpace .VP and\n"
                 "Summoner/Red Faction .VPP archives; pack, compress and verify .VP archives.",
                 "orbistav-cli"};
    app.require_subcommand(1);
    app.set_version_flag("--version", "orbistav-cli 2.0");

    std::string archivePath;
    bool bJson = false;
    // A folder instead of an archive is a game folder, seen as the game sees it.
    std::optional<std::string> modList;
    const auto addMod = [&](CLI::App* cmd)
    {
        cmd->add_option_function<std::string>(
            "--mod", [&](const std::string& value) { modList = value; },
            "With a game FOLDER: the engine's -mod list (A,B: A wins), relative to it");
    };
    CLI::App* list = app.add_subcommand("list", "List the files of an archive in file order");
    list->add_flag("--json", bJson, "Print the whole archive directory as one JSON object");
    list->add_option("ARCHIVE", archivePath, "The .VP or .VPP archive, or a game folder")->required();
    addMod(list);

    ExtractOptions options;
    CLI::App* extract = app.add_subcommand("extract", "Extract files from an archive");
    extract->add_option("ARCHIVE", archivePath, "The .VP or .VPP archive, or a game folder")
        ->required();
    addMod(extract);
    extract->add_option("PATTERN", options.aPatterns,
                        "Archive paths to extract (\\data\\tables\\*.tbl); none: every file");
    extract->add_option("-C,--directory", options.strDestination,
                        "Destination directory (default: the current one)");
    extract->add_flag("--keep-dirs", options.bKeepDirs,
                      "Recreate the archive's directories below the destination (.VP only)");
    extract->add_flag("-v,--verbose", options.bVerbose, "Print each file written");
    extract->add_flag("--raw", options.bRaw,
                      "Write compressed entries as stored instead of decompressed");

    CatOptions cat;
    CLI::App* catCmd = app.add_subcommand("cat", "Write one entry's content to standard output");
    catCmd->add_option("ARCHIVE", archivePath, "The .VP or .VPP archive, or a game folder")
        ->required();
    addMod(catCmd);
    catCmd->add_option("ENTRY", cat.strEntry, "A pattern naming exactly one file")->required();
    catCmd->add_flag("--raw", cat.bRaw, "The stored bytes of a compressed entry");

    SumOptions sum;
    CLI::App* sumCmd = app.add_subcommand(
        "sum", "Print a digest of each matching entry's content, like sha256sum");
    sumCmd->add_option("ARCHIVE", archivePath, "The .VP or .VPP archive, or a game folder")
        ->required();
    addMod(sumCmd);
    sumCmd->add_option("PATTERN", sum.aPatterns, "Archive paths to digest; none: every file");
    sumCmd->add_option("--algo", sum.strAlgorithm, "sha256 (default), sha1 or md5")
        ->check(CLI::IsMember({"sha256", "sha1", "md5"}));
    sumCmd->add_flag("--raw", sum.bRaw, "Digest the stored bytes of compressed entries");

    std::vector<std::string> dupsArchives;
    bool bDupsJson = false;
    bool bDupsEngine = false;
    CLI::App* dupsCmd = app.add_subcommand(
        "dups", "Show the archive paths that occur in more than one of the archives");
    dupsCmd->add_flag("--json", bDupsJson, "Print the duplicates as one JSON object");
    dupsCmd->add_flag("--engine", bDupsEngine,
                      "ARCHIVE is a game folder: the files the game finds more than once");
    addMod(dupsCmd);
    dupsCmd->add_option("ARCHIVE", dupsArchives, "The archives, in the order they override")
        ->required();

    app.add_subcommand("config", "Show where the suite's settings are stored and what they hold");

    RenderOptions render;
    CLI::App* renderCmd = app.add_subcommand(
        "render",
        "Write what the preview shows or plays of an entry: a picture, animation frame, font\n"
        "sheet or model as .png, a sound as .wav (16-bit PCM), text as .txt (UTF-8)");
    renderCmd->add_option("ARCHIVE", archivePath, "The .VP or .VPP archive, or a game folder")
        ->required();
    addMod(renderCmd);
    renderCmd
        ->add_option("ENTRY", render.strEntry,
                     "The entry's archive path (\\data\\maps\\x.pcx); of a game folder, a name\n"
                     "(x.pcx) or a type folder path (data/maps/x.pcx)")
        ->required();
    renderCmd
        ->add_option("-o,--output", render.strOutput,
                     "The file to write; its extension (.png, .wav, .txt) names the kind")
        ->required();
    renderCmd->add_option("--frame", render.nFrame, "The frame of an animation, from 1 (default 1)")
        ->check(CLI::Range(1, 32767));
    renderCmd
        ->add_option("--mip", render.nMip,
                     "The mip level of a DDS texture or a VBM, from 0 (default 0)")
        ->check(CLI::Range(0, 31));
    renderCmd->add_option("--face", render.nFace, "The face of a DDS cube map, from 0 (default 0)")
        ->check(CLI::Range(0, 5));
    const CLI::Option* modelViewOptions[] = {
        renderCmd->add_option("--size", render.strSize,
                              "The picture of a model, WIDTHxHEIGHT (default 512x512)"),
        renderCmd
            ->add_option("--yaw", render.dYaw,
                         "Degrees a model is seen from left of its front (default 30)")
            ->check(CLI::Range(-360.0, 360.0)),
        renderCmd
            ->add_option("--pitch", render.dPitch,
                         "Degrees a model is seen from above (default 20)")
            ->check(CLI::Range(-89.0, 89.0)),
        renderCmd->add_flag("--wireframe", render.bWireframe, "Draw a model's polygon edges only"),
        renderCmd->add_flag("--no-textures", render.bNoTextures,
                            "Draw a model grey, without the archive's textures")};

    std::string modelEntry;
    bool bModelJson = false;
    CLI::App* modelCmd = app.add_subcommand(
        "model", "Show a model's structure: a POF model's subobjects, detail levels and\n"
        "textures, or a V3M/V3C mesh's submeshes, levels and textures");
    modelCmd->add_option("ARCHIVE", archivePath, "The .VP or .VPP archive, or a game folder")
        ->required();
    addMod(modelCmd);
    modelCmd
        ->add_option("ENTRY", modelEntry,
                     "A pattern naming exactly one .pof, .v3m or .v3c file; of a game folder, a\n"
                     "name (x.pof) or a type folder path (data/models/x.pof)")
        ->required();
    modelCmd->add_flag("--json", bModelJson, "Print the model as one JSON object");

    std::vector<std::string> whichNames;
    bool bWhichJson = false;
    CLI::App* whichCmd = app.add_subcommand(
        "which", "Show which copy of each file the game loads from a game folder, and what it hides");
    whichCmd->add_flag("--json", bWhichJson, "Print one JSON object per name and type folder");
    addMod(whichCmd);
    whichCmd->add_option("FOLDER", archivePath, "The game folder, or a mod folder")->required();
    whichCmd->add_option("NAME", whichNames, "ships.tbl, or with a sub path: glass/hull.dds")
        ->required();

    PackOptions pack;
    CLI::App* packCmd = app.add_subcommand(
        "pack", "Make a new .VP archive of a folder's tree, or a .VPP packfile of its files");
    packCmd->add_option("DIR", pack.strInput, "The folder; its entries are the archive's root")
        ->required();
    packCmd->add_option("-o,--output", pack.strOutput, "The .VP or .VPP archive to write")
        ->required();
    packCmd->add_flag("--lz41", pack.bLz41,
                      "Store files compressed (LZ41) where that makes them smaller");
    packCmd->add_flag("--zero-times", pack.bZeroTimes,
                      "Store every time as 0, so the same tree gives the same bytes");
    packCmd->add_option("--jobs", pack.nJobs, "Threads that compress (default: one per processor)")
        ->check(CLI::Range(1, 256));

    CLI::App* compressCmd = app.add_subcommand(
        "compress", "Write a copy of a .VP archive with its entries compressed (LZ41)");
    compressCmd->add_option("IN", pack.strInput, "The .VP archive to read")->required();
    compressCmd->add_option("-o,--output", pack.strOutput, "The .VP archive to write")->required();
    compressCmd
        ->add_option("--jobs", pack.nJobs, "Threads that compress (default: one per processor)")
        ->check(CLI::Range(1, 256));

    CLI::App* decompressCmd = app.add_subcommand(
        "decompress", "Write a copy of a .VP archive with every entry stored uncompressed");
    decompressCmd->add_option("IN", pack.strInput, "The .VP archive to read")->required();
    decompressCmd->add_option("-o,--output", pack.strOutput, "The .VP archive to write")
        ->required();

    std::vector<std::string> verifyArchives;
    CLI::App* verifyCmd = app.add_subcommand(
        "verify", "Read every entry whole and report damage (exit 0 good, 3 damaged)");
    verifyCmd->add_option("ARCHIVE", verifyArchives, "The .VP or .VPP archives")->required();

    AddOptions add;
    CLI::App* addCmd = app.add_subcommand(
        "add", "Add files and folders (their trees) to an archive, replacing same-named entries");
    addCmd->add_option("ARCHIVE", add.strArchive, "The .VP or .VPP archive (made when missing)")
        ->required();
    addCmd->add_option("PATH", add.aPaths, "Files and folders to add")->required();
    addCmd->add_option("--to", add.strTo,
                       "The archive directory to add into (\\data\\tables; default the root; "
                       "ignored for .VPP)");
    addCmd->add_flag("--lz41", add.bLz41,
                     "Store added files compressed (LZ41) where that makes them smaller");

    std::string editArchive;
    std::vector<std::string> rmPatterns;
    CLI::App* rmCmd = app.add_subcommand(
        "rm", "Remove entries and directories from an archive (any pattern matching nothing: "
              "nothing is removed)");
    rmCmd->add_option("ARCHIVE", editArchive, "The .VP or .VPP archive")->required();
    rmCmd->add_option("PATTERN", rmPatterns, "Archive paths (\\data\\maps\\*.dds, \\data\\old)")
        ->required();

    std::string mvFrom, mvTo;
    CLI::App* mvCmd = app.add_subcommand(
        "mv", "Rename an entry or directory of an archive, or move it into another directory");
    mvCmd->add_option("ARCHIVE", editArchive, "The .VP or .VPP archive")->required();
    mvCmd->add_option("FROM", mvFrom, "The entry or directory")->required();
    mvCmd->add_option("TO", mvTo, "Its new path, a new name, or a directory ending in \\")
        ->required();

    try
    {
        app.parse(argc, argv);
    }
    catch (const CLI::CallForHelp& e)
    {
        return app.exit(e);
    }
    catch (const CLI::CallForAllHelp& e)
    {
        return app.exit(e);
    }
    catch (const CLI::CallForVersion& e)
    {
        return app.exit(e);
    }
    catch (const CLI::ParseError& e)
    {
        app.exit(e);
        return EXIT_USAGE;
    }

    if (app.got_subcommand("config"))
        return ShowConfiguration(std::cout);
    if (*dupsCmd && !bDupsEngine)
        return FindDuplicates(dupsArchives, bDupsJson, std::cout);
    if (*packCmd)
        return PackFolder(pack);
    if (*compressCmd)
        return CompressArchive(pack);
    if (*decompressCmd)
        return DecompressArchive(pack);
    if (*verifyCmd)
        return VerifyArchives(verifyArchives, std::cout);
    if (*addCmd)
        return AddToArchive(add);
    if (*rmCmd)
        return RemoveFromArchive(editArchive, rmPatterns);
    if (*mvCmd)
        return MoveInArchive(editArchive, mvFrom, mvTo);

    if (*dupsCmd)
    {
        if (dupsArchives.size() != 1)
        {
            std::cerr << "orbistav-cli: dups --engine takes one game folder\n";
            return EXIT_USAGE;
        }
        archivePath = dupsArchives.front();
    }
    for (const CLI::Option* pOption : modelViewOptions)
        render.bModelView = render.bModelView || pOption->count() > 0;
    if (modList || *whichCmd || *dupsCmd || IsFolderArgument(archivePath))
    {
        CCliGameFolder folder;
        if (!folder.Load(archivePath, modList))
            return EXIT_FAILED;
        if (*whichCmd)
            return WhichFiles(folder, whichNames, bWhichJson, std::cout);
        if (*dupsCmd)
            return FindEngineDuplicates(folder, bDupsJson, std::cout);
        if (*list)
            return ListGameFolder(folder, bJson, std::cout);
        if (*catCmd)
            return CatGameFile(folder, cat, std::cout);
        if (*sumCmd)
            return SumGameFiles(folder, sum, std::cout);
        if (*extract)
            return ExtractGameFolder(folder, options);
        if (*modelCmd)
            return ShowGameModel(folder, modelEntry, bModelJson, std::cout);
        return RenderGameFile(folder, render);
    }

    CCliArchive archive;
    if (!archive.Load(archivePath))
        return EXIT_FAILED;
    if (*renderCmd)
        return RenderEntry(archive, render);
    if (*modelCmd)
        return ShowModel(archive, modelEntry, bModelJson, std::cout);
    if (*list)
        return ListArchive(archive, bJson, std::cout);
    if (*catCmd)
        return CatEntry(archive, cat, std::cout);
    if (*sumCmd)
        return SumEntries(archive, sum, std::cout);
    return ExtractArchive(archive, options);
}
