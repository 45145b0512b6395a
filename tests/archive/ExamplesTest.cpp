#include <gtest/gtest.h>

#include "DocTestSupport.h"
#include "SampleArchives.h"
#include "TempDir.h"

TEST(Examples, ShippedSamplesAreWhatTheBuildersMakeAndReadWhole)
{
    const std::string dir = ORBISTAV_EXAMPLES_DIR;
    const auto vp = MakeSampleVp();
    const auto vpc = MakeSampleVpc();
    const auto vpp = MakeSampleVpp();
    EXPECT_TRUE(ReadFileText(dir + "/sample.vp") == std::string(vp.begin(), vp.end()))
        << "regenerate with: orbistav_make_examples examples";
    EXPECT_TRUE(ReadFileText(dir + "/sample.vpc") == std::string(vpc.begin(), vpc.end()));
    EXPECT_TRUE(ReadFileText(dir + "/sample.vpp") == std::string(vpp.begin(), vpp.end()));

    DocFixture t;
    ASSERT_EQ(t.doc->OnOpenDocument(dir + "/sample.vp"), CORBISTAVDoc::OpenResult::Read);
    EXPECT_TRUE(t.doc->IsReadComplete());
    EXPECT_EQ(t.doc->m_nFileCount, 16);
    ASSERT_EQ(t.doc->OnOpenDocument(dir + "/sample.vpp"), CORBISTAVDoc::OpenResult::Read);
    EXPECT_TRUE(t.doc->IsReadComplete());
    EXPECT_EQ(t.doc->m_nFileCount, 5);
}
