#include "IniAccess.h"

#include <string_view>
#include <vector>

#include "AsciiText.h"
#include "FileIo.h"

namespace
{

struct Line
{
    size_t nStart; // first byte
    size_t nEnd;   // end of the text, before CR LF or LF
    size_t nNext;  // start of the next line
};

std::vector<Line> SplitLines(std::string_view text)
{
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < text.size())
    {
        size_t lf = text.find('\n', pos);
        size_t next = lf == std::string_view::npos ? text.size() : lf + 1;
        size_t end = lf == std::string_view::npos ? text.size() : lf;
        if (end > pos && text[end - 1] == '\r')
            --end;
        lines.push_back(Line{pos, end, next});
        pos = next;
    }
    return lines;
}

// The name of a section line, or false when the line is not one.
bool SectionName(std::string_view trimmed, std::string_view& name)
{
    if (trimmed.empty() || trimmed[0] != '[')
        return false;
    size_t close = trimmed.find(']');
    name = TrimBlanks(
        trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    return true;
}

// Key and value of a key line, or false for blank lines, comments and lines without "=".
bool KeyValue(std::string_view trimmed, std::string_view& key, std::string_view& value)
{
    if (trimmed.empty() || trimmed[0] == ';')
        return false;
    size_t eq = trimmed.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = TrimBlanks(trimmed.substr(0, eq));
    value = TrimBlanks(trimmed.substr(eq + 1));
    return true;
}

std::string CutToBuffer(std::string_view value, int nSize)
{
    if (nSize <= 0)
        return std::string();
    return std::string(value.substr(0, static_cast<size_t>(nSize - 1)));
}

bool HasLineBreak(const std::string& s)
{
    return s.find_first_of("\r\n") != std::string::npos || s.find('\0') != std::string::npos;
}

} // namespace

std::string GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                     const std::string& defaultValue, const std::string& file,
                                     int nSize)
{
    FileContents contents = ReadWholeFile(file);
    if (!contents.bFound || !contents.result)
        return CutToBuffer(defaultValue, nSize);
    const std::string_view text = contents.strBytes;

    bool bInSection = false;
    bool bSeenSection = false;
    for (const Line& line : SplitLines(text))
    {
        std::string_view trimmed = TrimBlanks(text.substr(line.nStart, line.nEnd - line.nStart));
        std::string_view name;
        if (SectionName(trimmed, name))
        {
            if (bSeenSection)
                break; // only the first section of that name is read
            bInSection = EqualsNoCaseAscii(name, section);
            bSeenSection = bInSection;
            continue;
        }
        std::string_view k;
        std::string_view v;
        if (bInSection && KeyValue(trimmed, k, v) && EqualsNoCaseAscii(k, key))
        {
            if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
                v = v.substr(1, v.size() - 2);
            return CutToBuffer(v, nSize);
        }
    }
    return CutToBuffer(defaultValue, nSize);
}

Result WritePrivateProfileStringA(const std::string& section, const std::string& key,
                                  const std::string& value, const std::string& file)
{
    if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key) ||
        HasLineBreak(value) || section.find(']') != std::string::npos ||
        key.find('=') != std::string::npos || TrimBlanks(key).empty() ||
        TrimBlanks(key)[0] == '[' || TrimBlanks(key)[0] == ';')
        return Result::Fail("cannot store [" + section + "] " + key + " in " + file);

    FileContents contents = ReadWholeFile(file);
    if (!contents.result)
        return contents.result;
    std::string text = std::move(contents.strBytes);

    // New lines follow the file's own line ends; a new file gets the Windows ones.
    const size_t firstLf = text.find('\n');
    const std::string eol =
        (firstLf == std::string::npos || (firstLf > 0 && text[firstLf - 1] == '\r')) ? "\r\n"
                                                                                     : "\n";

    const std::vector<Line> lines = SplitLines(text);
    bool bInSection = false;
    bool bFound = false;
    size_t insertAt = 0;
    bool bInsertNeedsEol = false;
    for (const Line& line : lines)
    {
        std::string_view raw = std::string_view(text).substr(line.nStart, line.nEnd - line.nStart);
        std::string_view trimmed = TrimBlanks(raw);
        std::string_view name;
        if (SectionName(trimmed, name))
        {
            if (bFound)
                break;
            bInSection = EqualsNoCaseAscii(name, section);
            bFound = bInSection;
        }
        else if (bInSection)
        {
            std::string_view k;
            std::string_view v;
            if (KeyValue(trimmed, k, v) && EqualsNoCaseAscii(k, key))
            {
                // Keep the indentation and spelling of the key; replace the rest of the line.
                const size_t keyStart = line.nStart + static_cast<size_t>(k.data() - raw.data());
                const size_t keyEnd = keyStart + k.size();
                text.replace(keyStart, line.nEnd - keyStart,
                             text.substr(keyStart, keyEnd - keyStart) + "=" + value);
                return WriteFileAtomically(file, text);
            }
            if (trimmed.empty())
                continue;
        }
        if (bInSection)
        {
            insertAt = line.nNext;
            bInsertNeedsEol = line.nNext == line.nEnd;
        }
    }

    const std::string keyLine = key + "=" + value + eol;
    if (bFound)
        text.insert(insertAt, (bInsertNeedsEol ? eol : std::string()) + keyLine);
    else
    {
        if (!text.empty() && text.back() != '\n')
            text += eol;
        text += "[" + section + "]" + eol + keyLine;
    }
    return WriteFileAtomically(file, text);
}

std::string GetIniString(const std::string& section, const std::string& key,
                         const std::string& file)
{
    std::string value = GetPrivateProfileStringA(section, key, "$", file, kIniBufferSize);
    return value == "$" ? std::string() : value;
}
