#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "TextDecoder.h"

namespace
{
std::vector<std::uint8_t> Bytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

// Each span as its kind's letter and the text it covers: "F[$Name:] C[; x]".
std::string Show(std::string_view line, const std::vector<TextSpan>& spans)
{
    std::string out;
    for (const TextSpan& span : spans)
    {
        if (!out.empty())
            out += ' ';
        out += "SFCQ"[static_cast<int>(span.kind)];
        out += '[' + std::string(line.substr(span.nStart, span.nLength)) + ']';
    }
    return out;
}

// The lines in order, the state carried from each to the next; one line's spans a row.
std::vector<std::string> Colour(const std::vector<std::string_view>& lines, bool bLua = false)
{
    std::vector<std::string> out;
    int nState = TEXT_STATE_NONE;
    for (const std::string_view line : lines)
        out.push_back(
            Show(line, bLua ? ColourLuaLine(line, nState) : ColourTableLine(line, nState)));
    out.push_back("state " + std::to_string(nState));
    return out;
}

using Rows = std::vector<std::string>;
} // namespace

TEST(TextDecoder, DecodesWindows1252AndEndsLinesWithLf)
{
    std::string utf8;
    ASSERT_TRUE(
        DecodeText(Bytes("$Name: Caf\xE9 \x80 5\x99\r\n+Flags:\r\n\r\nlast\rline\n"), utf8));
    EXPECT_EQ(utf8, "$Name: Caf\u00E9 \u20AC 5\u2122\n+Flags:\n\nlast\rline\n");
}

TEST(TextDecoder, KeepsValidUtf8AndReadsAnythingElseAsWindows1252)
{
    std::string utf8;
    ASSERT_TRUE(DecodeText(Bytes("Caf\xC3\xA9 \xE2\x80\x9D\r\n"), utf8));
    EXPECT_EQ(utf8, "Caf\u00E9 \u201D\n");
    // A sequence cut off by the end of the entry is not UTF-8.
    ASSERT_TRUE(DecodeText(Bytes("a\xC3"), utf8));
    EXPECT_EQ(utf8, "a\u00C3");
}

TEST(TextDecoder, TextIsNulFreeUtf8OrDefinedWindows1252WithoutStrayControls)
{
    struct Case
    {
        std::string_view bytes;
        TextCoding coding;
    };
    const Case cases[] = {
        {"plain\tascii\r\n\f\x1A", TextCoding::Utf8},
        {"\x1B[1mbold", TextCoding::Utf8},
        {"caf\xC3\xA9 \xE2\x80\x9D", TextCoding::Utf8}, // 0x9D inside a valid sequence
        {"cut \xE2\x82", TextCoding::Utf8},             // a first part of the entry
        {"caf\xE9 \x80", TextCoding::Windows1252},
        {"\xC0\xAF overlong", TextCoding::Windows1252},
        {"\xE2\x82x", TextCoding::Windows1252},
        {"\xE2\x80\x9D \xFF", TextCoding::NotText}, // not UTF-8, and 0x9D is no Windows-1252
        {"\x81", TextCoding::NotText},
        {std::string_view("a\0b", 3), TextCoding::NotText},
        {"bin\x01\x02", TextCoding::NotText},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DetectTextCoding(Bytes(c.bytes)), c.coding) << c.bytes;
}

TEST(TextDecoder, RefusesNulInTheFirst4KiBOnly)
{
    std::string utf8 = "left over";
    std::vector<std::uint8_t> bytes(4096, 'a');
    bytes[4095] = 0;
    const Result refused = DecodeText(bytes, utf8);
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.Text().find("not text"), std::string::npos);
    EXPECT_TRUE(utf8.empty());

    bytes[4095] = 'a';
    bytes.push_back(0);
    ASSERT_TRUE(DecodeText(bytes, utf8));
    EXPECT_EQ(utf8.size(), 4097u);
    EXPECT_TRUE(DecodeText({}, utf8));
}

TEST(TextColouring, SectionsFieldsCommentsAndStringsOfTableLines)
{
    EXPECT_EQ(Colour({
                  "#Ship Classes",
                  "#Players\t\t;! 1 total",
                  "$Name:  XSTR(\"GTF Ulysses; mk2\", -1)\t; the fighter",
                  "\t+Tech Description:",
                  "$Main Hall  ",
                  "$end_multi_text",
                  "$Speed: 90 // knots",
                  "3 + 4 ; #not a section",
              }),
              (Rows{
                  "S[#Ship Classes]",
                  "S[#Players] C[;! 1 total]",
                  "F[$Name:] Q[\"GTF Ulysses; mk2\"] C[; the fighter]",
                  "F[+Tech Description:]",
                  "F[$Main Hall]",
                  "F[$end_multi_text]",
                  "F[$Speed:] C[// knots]",
                  "C[; #not a section]",
                  "state 0",
              }));
}

TEST(TextColouring, BlockCommentsAndStringsCarryAcrossLines)
{
    EXPECT_EQ(Colour({
                  "$Mass: 10 /* old",
                  "$Mass: 12 ; still the comment",
                  "*/ $Mass: 14 /* and */ ; done",
                  "$Mission Desc: XSTR(\"First line;",
                  "#second\", -1)",
                  "\"open",
              }),
              (Rows{
                  "F[$Mass:] C[/* old]",
                  "C[$Mass: 12 ; still the comment]",
                  "C[*/] F[$Mass:] C[/* and */] C[; done]",
                  "F[$Mission Desc:] Q[\"First line;]",
                  "Q[#second\"]",
                  "Q[\"open]",
                  "state 2",
              }));
    int nState = 99; // not a state: taken as none
    EXPECT_EQ(Show("#End", ColourTableLine(std::string_view("#End"), nState)), "S[#End]");
}

TEST(TextColouring, LuaHasStringsAndDashComments)
{
    EXPECT_EQ(Colour({"local s = \"a -- \\\"b\\\"\" .. 'c' -- note", "x = 1; --[[ off",
                      "y = 2 ]] z = [[long", "]] -- end"},
                     true),
              (Rows{"Q[\"a -- \\\"b\\\"\"] Q['c'] C[-- note]", "C[--[[ off]",
                    "C[y = 2 ]]] Q[[[long]", "Q[]]] C[-- end]", "state 0"}));
}

TEST(TextColouring, ShadersHaveDirectivesCommentsAndStrings)
{
    const std::vector<std::string_view> lines = {
        "#include \"common.hlsl\"", "float4 c = tex2D(s, uv); // sample",
        "char q = '\"'; /* open",   "still */ string s = \"a\\\"b\"; x = a / b;",
        "  #  define X 1",
    };
    std::vector<std::string> rows;
    int nState = TEXT_STATE_NONE;
    for (const std::string_view line : lines)
        rows.push_back(Show(line, ColourCLikeLine(line, nState)));
    EXPECT_EQ(rows, (Rows{"S[#include] Q[\"common.hlsl\"]", "C[// sample]", "Q['\"'] C[/* open]",
                          "C[still */] Q[\"a\\\"b\"]", "S[#  define]"}));
    EXPECT_EQ(nState, TEXT_STATE_NONE);
}

TEST(TextColouring, CountsOneUnitPerCharacterInBothForms)
{
    // "$Épée: "€" ; ü" as Windows-1252 bytes and as UTF-16.
    const std::string_view cp1252 = "$\xC9p\xE9\x65: \"\x80\" ; \xFC";
    const std::u16string_view utf16 = u"$\u00C9p\u00E9e: \"\u20AC\" ; \u00FC";
    ASSERT_EQ(cp1252.size(), utf16.size());
    int nBytesState = 0;
    int nUnitsState = 0;
    const auto bytes = ColourTableLine(cp1252, nBytesState);
    const auto units = ColourTableLine(utf16, nUnitsState);
    ASSERT_EQ(bytes.size(), 3u);
    ASSERT_EQ(units.size(), bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
    {
        EXPECT_EQ(units[i].nStart, bytes[i].nStart);
        EXPECT_EQ(units[i].nLength, bytes[i].nLength);
        EXPECT_EQ(units[i].kind, bytes[i].kind);
    }
}
