// Text entries: the decoding, then the colouring of every line as tables and as Lua. Spans
// must lie inside their line, in order, without overlap, and count the same over the
// Windows-1252 bytes as over the same line widened to UTF-16.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "TextDecoder.h"

namespace
{
void Check(const std::vector<TextSpan>& spans, std::size_t nLength, int nState)
{
    std::size_t nEnd = 0;
    for (const TextSpan& span : spans)
    {
        if (span.nLength == 0 || span.nStart < nEnd || span.nStart > nLength ||
            span.nLength > nLength - span.nStart)
            std::abort();
        nEnd = span.nStart + span.nLength;
    }
    if (nState != TEXT_STATE_NONE && nState != TEXT_STATE_COMMENT && nState != TEXT_STATE_STRING)
        std::abort();
}

bool Same(const std::vector<TextSpan>& a, const std::vector<TextSpan>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].nStart != b[i].nStart || a[i].nLength != b[i].nLength || a[i].kind != b[i].kind)
            return false;
    return true;
}

template <typename Colour> void ColourLines(std::string_view text, Colour colour)
{
    int nBytesState = TEXT_STATE_NONE;
    int nUnitsState = TEXT_STATE_NONE;
    std::u16string units;
    while (!text.empty())
    {
        const std::size_t nBreak = text.find('\n');
        const std::string_view line = text.substr(0, nBreak);
        text.remove_prefix(nBreak == std::string_view::npos ? text.size() : nBreak + 1);
        units.resize(line.size());
        for (std::size_t i = 0; i < line.size(); ++i)
            units[i] = static_cast<unsigned char>(line[i]);
        const auto bytes = colour(line, nBytesState);
        Check(bytes, line.size(), nBytesState);
        if (!Same(bytes, colour(std::u16string_view(units), nUnitsState)) ||
            nBytesState != nUnitsState)
            std::abort();
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    std::string utf8;
    if (!DecodeText(std::span<const std::uint8_t>(pData, nSize), utf8))
        return 0;
    const std::string_view raw(reinterpret_cast<const char*>(pData), nSize);
    ColourLines(raw, [](auto line, int& nState) { return ColourTableLine(line, nState); });
    ColourLines(raw, [](auto line, int& nState) { return ColourLuaLine(line, nState); });
    // The decoded text, as the command line and the pane have it.
    ColourLines(utf8, [](auto line, int& nState) { return ColourTableLine(line, nState); });
    return 0;
}
