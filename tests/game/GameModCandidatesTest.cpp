#include <filesystem>
#include <gtest/gtest.h>

#include "GameFolderBuilder.h"
#include "GameModCandidates.h"
#include "TempDir.h"

TEST(GameModCandidates, SubfoldersWithDataArchivesOrLauncherFilesInAnyCase)
{
    TempDir dir;
    GameFolderBuilder(dir.Path())
        .Loose("data/tables/ships.tbl")
        .Loose("zeta/Data/tables/ships.tbl")
        .Archive("Alpha/ALPHA.VP", {"data/tables/a.tbm"})
        .Loose("knossos-1.0/mod.json", "{}")
        .Loose("Mine/mod.ini", "[multimod]\n")
        .Loose("docs/readme.txt")
        .Loose("screenshots/data", "a file, not a folder");
    std::filesystem::create_directory_symlink(dir.Path() + "/zeta", dir.Path() + "/link");
    EXPECT_EQ(FindModCandidates(dir.Path()),
              (std::vector<std::string>{"Alpha", "knossos-1.0", "Mine", "zeta"}));
    EXPECT_TRUE(FindModCandidates(dir.Path() + "/missing").empty());
}
