#include "CRegistryTree.h"

#include <cstdio>

#include "AsciiText.h"

namespace
{

constexpr size_t kNoKey = static_cast<size_t>(-1);

// The next line of text from pos, without its LF or CRLF; pos moves past it.
std::string_view NextLine(std::string_view text, size_t& pos)
{
    size_t end = text.find('\n', pos);
    size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos)
        end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    pos = next;
    return line;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = ToLowerAscii(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// A quoted string starting at s[pos] == '"'. REGEDIT4 escapes only \\ and \"; any other
// backslash is kept as it stands, which is what a hand-written "C:\Games" means.
bool ParseQuoted(std::string_view s, size_t& pos, std::string& out, bool& bLenient)
{
    if (pos >= s.size() || s[pos] != '"')
        return false;
    ++pos;
    while (pos < s.size())
    {
        char c = s[pos++];
        if (c == '"')
            return true;
        if (c == '\\' && pos < s.size())
        {
            char n = s[pos];
            if (n == '\\' || n == '"')
            {
                out.push_back(n);
                ++pos;
                continue;
            }
            bLenient = true;
        }
        out.push_back(c);
    }
    return false;
}

void AppendQuoted(std::string& out, std::string_view s)
{
    out.push_back('"');
    for (char c : s)
    {
        if (c == '\\' || c == '"')
            out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
}

// Bytes of a hex list ("61,62,00", continuation backslashes and line breaks allowed).
bool DecodeHexList(std::string_view list, std::string& bytes)
{
    size_t i = 0;
    while (i < list.size())
    {
        char c = list[i];
        if (c == ',' || c == ' ' || c == '\t' || c == '\\' || c == '\r' || c == '\n')
        {
            ++i;
            continue;
        }
        if (i + 1 >= list.size())
            return false;
        int hi = HexDigit(list[i]);
        int lo = HexDigit(list[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        bytes.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
        if (i < list.size() && HexDigit(list[i]) >= 0)
            return false;
    }
    return true;
}

} // namespace

std::optional<std::string> CRegistryTree::NormalizeKeyPath(std::string_view keyPath)
{
    if (!keyPath.empty() && keyPath.back() == '\\')
        keyPath.remove_suffix(1);
    if (keyPath.empty() || keyPath.front() == '\\' || keyPath.back() == '\\' ||
        keyPath.find("\\\\") != std::string_view::npos)
        return std::nullopt;
    for (char c : keyPath)
        if (static_cast<unsigned char>(c) < 0x20)
            return std::nullopt;
    return std::string(keyPath);
}

bool CRegistryTree::IsStorableValueName(std::string_view valueName)
{
    for (char c : valueName)
        if (c == '\0' || c == '\r' || c == '\n')
            return false;
    return true;
}

const CRegistryTree::Key* CRegistryTree::FindKey(std::string_view normalizedPath) const
{
    auto it = m_mapKeys.find(ToLowerAscii(normalizedPath));
    return it == m_mapKeys.end() ? nullptr : &m_aKeys[it->second];
}

size_t CRegistryTree::CreateKey(const std::string& normalizedPath)
{
    auto [it, inserted] = m_mapKeys.try_emplace(ToLowerAscii(normalizedPath), m_aKeys.size());
    if (inserted)
        m_aKeys.push_back(Key{normalizedPath, {}, {}});
    return it->second;
}

void CRegistryTree::PutInto(Key& key, RegValue value)
{
    auto [it, inserted] =
        key.mapValues.try_emplace(ToLowerAscii(value.strName), key.aValues.size());
    if (inserted)
    {
        key.aValues.push_back(std::move(value));
        return;
    }
    RegValue& old = key.aValues[it->second];
    value.strName = old.strName; // the first spelling stays
    old = std::move(value);
}

bool CRegistryTree::Put(std::string_view keyPath, RegValue value)
{
    std::optional<std::string> path = NormalizeKeyPath(keyPath);
    if (!path || !IsStorableValueName(value.strName))
        return false;
    PutInto(m_aKeys[CreateKey(*path)], std::move(value));
    return true;
}

const RegValue* CRegistryTree::FindValue(std::string_view keyPath, std::string_view valueName) const
{
    std::optional<std::string> path = NormalizeKeyPath(keyPath);
    if (!path)
        return nullptr;
    const Key* key = FindKey(*path);
    if (!key)
        return nullptr;
    auto it = key->mapValues.find(ToLowerAscii(valueName));
    return it == key->mapValues.end() ? nullptr : &key->aValues[it->second];
}

bool CRegistryTree::SetString(std::string_view keyPath, std::string_view valueName,
                              std::string_view value)
{
    RegValue v;
    v.strName = std::string(valueName);
    v.nType = RegValueType::String;
    v.strData = std::string(value.substr(0, value.find('\0')));
    return Put(keyPath, std::move(v));
}

bool CRegistryTree::SetDword(std::string_view keyPath, std::string_view valueName, uint32_t value)
{
    RegValue v;
    v.strName = std::string(valueName);
    v.nType = RegValueType::Dword;
    v.nDword = value;
    return Put(keyPath, std::move(v));
}

bool CRegistryTree::LoadValueLine(std::string_view line, std::string_view text, size_t& nextLine,
                                  size_t keyIndex, bool& bLenient)
{
    RegValue value;
    size_t pos = 0;
    if (line[0] == '@')
        pos = 1;
    else if (!ParseQuoted(line, pos, value.strName, bLenient))
        return false;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    if (pos >= line.size() || line[pos] != '=')
        return false;
    std::string_view data = TrimBlanks(line.substr(pos + 1));

    if (!data.empty() && data[0] == '"')
    {
        size_t p = 0;
        if (!ParseQuoted(data, p, value.strData, bLenient) || p != data.size())
            return false;
        value.nType = RegValueType::String;
    }
    else if (StartsWithNoCaseAscii(data, "dword:"))
    {
        std::string_view hex = data.substr(6);
        if (hex.empty() || hex.size() > 8)
            return false;
        uint32_t n = 0;
        for (char c : hex)
        {
            int d = HexDigit(c);
            if (d < 0)
                return false;
            n = n * 16 + static_cast<uint32_t>(d);
        }
        value.nType = RegValueType::Dword;
        value.nDword = n;
    }
    else if (StartsWithNoCaseAscii(data, "hex"))
    {
        // Binary and other types continue over lines that end in a backslash.
        std::string raw(data);
        while (!raw.empty() && raw.back() == '\\' && nextLine < text.size())
            raw += "\n" + std::string(TrimBlanks(NextLine(text, nextLine)));
        const size_t colon = raw.find(':');
        if (colon == std::string::npos)
            return false;
        std::string bytes;
        if (!DecodeHexList(std::string_view(raw).substr(colon + 1), bytes))
            return false;
        if (StartsWithNoCaseAscii(raw, "hex(1):"))
        {
            value.nType = RegValueType::String;
            value.strData = bytes.substr(0, bytes.find('\0'));
        }
        else
        {
            value.nType = RegValueType::Other;
            value.strData = std::move(raw);
        }
    }
    else
        return false;

    if (!IsStorableValueName(value.strName))
        return false;
    PutInto(m_aKeys[keyIndex], std::move(value));
    return true;
}

bool CRegistryTree::LoadText(std::string_view text, std::string_view rootName)
{
    m_aKeys.clear();
    m_mapKeys.clear();

    bool bClean = true;
    bool bHeaderSeen = false;
    size_t keyIndex = kNoKey;
    size_t pos = 0;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
    {
        pos = 3;
        bClean = false;
    }
    while (pos < text.size())
    {
        std::string_view line = TrimBlanks(NextLine(text, pos));
        if (line.empty())
            continue;
        if (!bHeaderSeen)
        {
            bHeaderSeen = true;
            if (line == "REGEDIT4")
                continue;
            bClean = false;
            if (line[0] != '[' && line[0] != '"' && line[0] != '@')
                continue;
        }
        if (line[0] == ';')
        {
            bClean = false; // comments are not kept when the file is rewritten
            continue;
        }
        if (line[0] == '[')
        {
            keyIndex = kNoKey;
            std::string_view inner = line.substr(1);
            if (inner.empty() || inner.back() != ']')
            {
                bClean = false;
                continue;
            }
            inner.remove_suffix(1);
            size_t slash = inner.find('\\');
            std::optional<std::string> path;
            if (slash != std::string_view::npos &&
                EqualsNoCaseAscii(inner.substr(0, slash), rootName))
                path = NormalizeKeyPath(inner.substr(slash + 1));
            if (!path)
            {
                bClean = false; // another root, a deletion entry, or a malformed path
                continue;
            }
            keyIndex = CreateKey(*path);
            continue;
        }
        bool bLenient = false;
        if (keyIndex == kNoKey || !LoadValueLine(line, text, pos, keyIndex, bLenient) || bLenient)
            bClean = false;
    }
    if (!bHeaderSeen && !text.empty())
        bClean = false;
    return bClean;
}

std::string CRegistryTree::ToText(std::string_view rootName) const
{
    std::string out = "REGEDIT4\n";
    for (const Key& key : m_aKeys)
    {
        out += "\n[";
        out += rootName;
        out += '\\';
        out += key.strPath;
        out += "]\n";
        for (const RegValue& value : key.aValues)
        {
            if (value.strName.empty())
                out += '@';
            else
                AppendQuoted(out, value.strName);
            out += '=';
            switch (value.nType)
            {
            case RegValueType::String:
                if (value.strData.find_first_of("\r\n") == std::string::npos)
                    AppendQuoted(out, value.strData);
                else
                {
                    // A line break cannot stand inside a quoted string of the format.
                    out += "hex(1):";
                    char buf[4];
                    for (char c : value.strData)
                    {
                        std::snprintf(buf, sizeof buf, "%02x,", static_cast<unsigned char>(c));
                        out += buf;
                    }
                    out += "00";
                }
                break;
            case RegValueType::Dword:
            {
                char buf[16];
                std::snprintf(buf, sizeof buf, "dword:%08x", static_cast<unsigned>(value.nDword));
                out += buf;
                break;
            }
            case RegValueType::Other:
                out += value.strData;
                break;
            }
            out += '\n';
        }
    }
    return out;
}
