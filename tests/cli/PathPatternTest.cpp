#include <gtest/gtest.h>

#include "PathPattern.h"

TEST(PathPattern, MatchesArchivePathsLikeAUserExpects)
{
    const std::string ships = "\\data\\tables\\Ships.tbl";
    EXPECT_TRUE(PathPattern("\\data\\tables\\ships.tbl").Matches(ships));
    EXPECT_TRUE(PathPattern("data/tables/SHIPS.TBL").Matches(ships));
    EXPECT_TRUE(PathPattern("*.tbl").Matches(ships));
    EXPECT_TRUE(PathPattern("\\data\\*").Matches(ships));
    EXPECT_TRUE(PathPattern("\\data\\tables\\sh?ps.tbl").Matches(ships));
    EXPECT_TRUE(PathPattern("*").Matches(ships));
    // Without a separator: the file's name in any directory, as the games find files.
    EXPECT_TRUE(PathPattern("SHIPS.tbl").Matches(ships));
    EXPECT_TRUE(PathPattern("sh*.tbl").Matches(ships));
    EXPECT_FALSE(PathPattern("tables").Matches(ships));
    EXPECT_FALSE(PathPattern("data/ships.tbl").Matches(ships)); // with one, from the root
    EXPECT_FALSE(PathPattern("\\data\\tables\\ships.tb").Matches(ships));
    EXPECT_FALSE(PathPattern("\\data\\tables\\ships.tbl?").Matches(ships));
    EXPECT_TRUE(PathPattern("*ships*").Matches(ships));
}

TEST(PathPattern, ManyStarsStayFast)
{
    const std::string path(2000, 'a');
    EXPECT_FALSE(PathPattern(std::string(50, '*') + "b").Matches(path));
    EXPECT_TRUE(PathPattern("*a*a*a*a*a*a*a*a").Matches("\\" + path));
}
