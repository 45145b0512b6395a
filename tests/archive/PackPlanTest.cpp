#include <gtest/gtest.h>

#include "PackPlan.h"

TEST(PackPlan, WarnsOnlyBeyondWhatTheBrowserShows)
{
    PackPlan plan;
    plan.nFiles = 16384;
    plan.nDirectories = 511; // with the root, the 512 the browser holds
    plan.nMostSubdirectories = 128;
    EXPECT_EQ(CapacityWarning(plan), "");
    for (int* pCount : {&plan.nFiles, &plan.nDirectories, &plan.nMostSubdirectories})
    {
        ++*pCount;
        EXPECT_NE(CapacityWarning(plan).find("the browser shows only the first 16384 files and "
                                             "512 directories"),
                  std::string::npos);
        --*pCount;
    }
}
