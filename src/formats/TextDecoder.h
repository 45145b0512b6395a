#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Result.h"

// The text of a table, mission, campaign, configuration or Lua entry as UTF-8: kept as it is
// when it already is valid UTF-8, else read as Windows-1252. Lines end in LF: a CRLF pair
// becomes LF, everything else is kept as it is. An entry with a NUL byte in its first 4 KiB
// is refused as not text.
Result DecodeText(std::span<const std::uint8_t> bytes, std::string& utf8);

enum class TextCoding
{
    NotText,
    Utf8, // plain ASCII too
    Windows1252,
};

// Whether bytes are text whatever the entry's name: no NUL, no control character that text
// does not use (tab, line and page ends, the DOS end-of-file and escape are fine), and
// either valid UTF-8 or only bytes that Windows-1252 defines. bytes may be the first part of
// an entry: a UTF-8 sequence cut off at its end still counts as valid.
TextCoding DetectTextCoding(std::span<const std::uint8_t> bytes);

enum class TextSpanKind
{
    Section, // "#Ship Classes", "#End"
    Field,   // "$Name:", "+Tech Description:"
    Comment, // "; ...", "// ...", "/* ... */" (Lua: "-- ...", "--[[ ... ]]")
    String,  // "..." (Lua also '...' and [[ ... ]])
};

// nStart and nLength count units of the line as given: bytes of a Windows-1252 line (one per
// character) or UTF-16 units (what QString and QTextBlock positions count).
struct TextSpan
{
    std::size_t nStart = 0;
    std::size_t nLength = 0;
    TextSpanKind kind = TextSpanKind::Comment;
};

// What continues from one line into the next; 0 is none.
enum : int
{
    TEXT_STATE_NONE = 0,
    TEXT_STATE_COMMENT = 1, // inside a block comment
    TEXT_STATE_STRING = 2,  // inside a string that spans lines
};

// The coloured spans of one line of a FreeSpace table, mission or campaign, in order and
// without overlap; the line holds no line end. nState is the state at the start of the line
// on the way in and at its end on the way out; an unknown value counts as none.
std::vector<TextSpan> ColourTableLine(std::string_view line, int& nState);
std::vector<TextSpan> ColourTableLine(std::u16string_view line, int& nState);

// The same for a line of Lua: strings and comments only.
std::vector<TextSpan> ColourLuaLine(std::string_view line, int& nState);
std::vector<TextSpan> ColourLuaLine(std::u16string_view line, int& nState);

// The same for a line of a shader or another C-like source: "//" and "/* */" comments,
// "..." and '...' strings with backslash escapes, and a preprocessor directive ("#define")
// as a section.
std::vector<TextSpan> ColourCLikeLine(std::string_view line, int& nState);
std::vector<TextSpan> ColourCLikeLine(std::u16string_view line, int& nState);
