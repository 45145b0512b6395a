#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "FileListFormat.h"
#include "TextEncoding.h"

TEST(TextEncoding, Windows1252BecomesUtf8)
{
    EXPECT_EQ(Cp1252ToUtf8("plain.tbl"), "plain.tbl");
    EXPECT_EQ(Cp1252ToUtf8("caf\xe9"), "caf\xc3\xa9");
    EXPECT_EQ(Cp1252ToUtf8("\x80\x9f\xff"), "\xe2\x82\xac\xc5\xb8\xc3\xbf");
    EXPECT_EQ(Cp1252ToUtf8("\x81"), "\xc2\x81"); // unassigned byte keeps its C1 code point
}

TEST(FileListFormat, SizesInBytesOrTruncatedKilobytes)
{
    const std::pair<int, const char*> cases[] = {
        {0, "1 kB"}, {1024, "1 kB"}, {2047, "1 kB"}, {2048, "2 kB"}};
    for (const auto& [n, kb] : cases)
    {
        EXPECT_EQ(FormatFileSize(n, true), kb);
        EXPECT_EQ(FormatFileSize(n, false), std::to_string(n));
    }
}

TEST(FileListFormat, TimesInLocalTimeAndEmptyForNone)
{
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    EXPECT_EQ(FormatFileTime(1001923509), "10/1/2001 08:05:09");
    EXPECT_EQ(FormatFileTime(0), "");
    EXPECT_EQ(FormatFileTime(-86400), "12/31/1969 00:00:00");
    ::setenv("TZ", "CET-1", 1);
    ::tzset();
    EXPECT_EQ(FormatFileTime(1001923509), "10/1/2001 09:05:09");
    if (old)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}
