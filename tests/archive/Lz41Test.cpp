#include <gtest/gtest.h>

#include <functional>

#include "CEntryReader.h"
#include "CMemorySource.h"
#include "Lz41Builder.h"

namespace
{
struct Read
{
    Result open;
    Result content;
    bool bCompressed = false;
    std::int64_t nContentSize = -1;
    std::string text;
    std::string streamed; // given again piece by piece after the whole was read
};

// What a reader makes of an entry that is the whole of bytes.
Read ReadWhole(const std::string& bytes, CEntryReader::Mode mode = CEntryReader::Mode::Content)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    CMemorySource source({p, bytes.size()});
    ArchiveFile file;
    file.nSize = static_cast<std::int32_t>(bytes.size());
    CEntryReader reader(source, mode);
    Read read;
    read.open = reader.Open(file, "\\data\\tables\\ships.tbl");
    read.bCompressed = reader.IsCompressed();
    if (!read.open)
        return read;
    read.nContentSize = reader.ContentSize();
    std::vector<unsigned char> content;
    read.content = reader.ReadAll(content);
    read.text.assign(content.begin(), content.end());
    (void)reader.Stream(
        [&](std::span<const unsigned char> piece)
        {
            read.streamed.append(piece.begin(), piece.end());
            return Result::Ok();
        });
    return read;
}
} // namespace

TEST(Lz41, DecompressesOneOrSeveralBlocksTheEmptyEntryAndExactMultiples)
{
    const std::string text = CompressibleText(10000);
    for (const auto& [content, nBlockSize] : std::vector<std::pair<std::string, int>>{
             {text, 65536}, {text, 3000}, {text, 2500}, {"", 4096}, {"x", 1}})
    {
        const std::string stored = Lz41Builder(content, nBlockSize).Bytes();
        const Read read = ReadWhole(stored);
        ASSERT_TRUE(read.open) << read.open.Text();
        EXPECT_TRUE(read.content) << read.content.Text();
        EXPECT_TRUE(read.bCompressed);
        EXPECT_EQ(read.nContentSize, static_cast<std::int64_t>(content.size()));
        EXPECT_EQ(read.text, content) << nBlockSize;
        EXPECT_EQ(read.streamed, content) << nBlockSize;
        EXPECT_EQ(ReadWhole(stored, CEntryReader::Mode::Stored).text, stored);
    }
    // A multiple of the block size may also end with an empty block.
    Lz41Builder padded(text.substr(0, 5000), 2500);
    const std::string empty = Lz41Builder("", 1).aBlocks[0];
    padded.aBlocks.push_back(empty);
    padded.aOffsets.push_back(padded.aOffsets.back() + static_cast<std::int32_t>(empty.size()));
    ++padded.nCount;
    EXPECT_EQ(ReadWhole(padded.Bytes()).text, text.substr(0, 5000));

    const Read plain = ReadWhole("LZ4 is not LZ41, and this is no compressed entry at all");
    EXPECT_FALSE(plain.bCompressed);
    EXPECT_EQ(plain.text, "LZ4 is not LZ41, and this is no compressed entry at all");
}

TEST(Lz41, EveryTrailerInconsistencyIsADamagedEntry)
{
    const std::string text = CompressibleText(9000);
    const std::vector<std::pair<const char*, std::function<void(Lz41Builder&)>>> breaks = {
        {"count 1", [](Lz41Builder& b) { b.nCount = 1; }},
        {"count beyond the entry", [](Lz41Builder& b) { b.nCount = 1 << 20; }},
        {"negative count", [](Lz41Builder& b) { b.nCount = -4; }},
        {"block size 0", [](Lz41Builder& b) { b.nBlockSize = 0; }},
        {"negative block size", [](Lz41Builder& b) { b.nBlockSize = -4096; }},
        {"original beyond the blocks", [](Lz41Builder& b) { b.nOriginalSize = 3 * 4096 + 1; }},
        {"original short of the blocks", [](Lz41Builder& b) { b.nOriginalSize = 4096; }},
        {"negative original", [](Lz41Builder& b) { b.nOriginalSize = -1; }},
        {"offsets decreasing", [](Lz41Builder& b) { std::swap(b.aOffsets[1], b.aOffsets[2]); }},
        {"first offset in the magic", [](Lz41Builder& b) { b.aOffsets[0] = 2; }},
        {"last offset not the table", [](Lz41Builder& b) { b.aOffsets.back() -= 1; }},
        {"offset beyond the table", [](Lz41Builder& b) { b.aOffsets[2] = 1 << 30; }},
        // 2 GB from a few hundred bytes cannot be what LZ4 blocks hold.
        {"more content than the blocks can hold",
         [](Lz41Builder& b)
         {
             b.nBlockSize = 1 << 29;
             b.nOriginalSize = 2 * (1 << 29) + 1000;
         }},
    };
    for (const auto& [what, breakIt] : breaks)
    {
        Lz41Builder builder(text, 4096);
        breakIt(builder);
        const Read read = ReadWhole(builder.Bytes());
        EXPECT_FALSE(read.open) << what;
        EXPECT_TRUE(read.bCompressed) << what;
        EXPECT_EQ(
            read.open.Text().rfind("\\data\\tables\\ships.tbl: the compressed entry is damaged", 0),
            0u)
            << what << ": " << read.open.Text();
    }
    const Read tooShort = ReadWhole("LZ41" + std::string(12, '\0'));
    EXPECT_FALSE(tooShort.open);
    EXPECT_TRUE(tooShort.bCompressed);
    // Stored mode never looks inside.
    EXPECT_TRUE(ReadWhole("LZ41" + std::string(12, '\0'), CEntryReader::Mode::Stored).content);
}

TEST(Lz41, ABrokenBlockFailsTheWholeContent)
{
    const std::string text = CompressibleText(9000);
    Lz41Builder garbled(text, 4096);
    garbled.aBlocks[1].assign(garbled.aBlocks[1].size(), '\xff');
    Read read = ReadWhole(garbled.Bytes());
    ASSERT_TRUE(read.open);
    EXPECT_FALSE(read.content);
    EXPECT_NE(read.content.Text().find("block 2 of 3 does not decompress"), std::string::npos)
        << read.content.Text();
    EXPECT_TRUE(read.text.empty());

    // Consistent sizes, but the last block holds fewer bytes than the trailer says.
    Lz41Builder shortLast(text, 4096);
    shortLast.nOriginalSize += 100;
    read = ReadWhole(shortLast.Bytes());
    ASSERT_TRUE(read.open);
    EXPECT_FALSE(read.content);
}
