#include "V3dTextures.h"

#include <unordered_map>

#include "CORBISTAVDoc.h"
#include "PofTextures.h"

namespace
{
constexpr const char* kExtensions[] = {".tga", ".vbm", ".dds"};

std::string Lower(const std::string& text)
{
    std::string lower(text);
    for (char& ch : lower)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    return lower;
}

// "name" of "name.tga"; the whole name when it has no extension.
std::string Base(const std::string& name)
{
    const std::size_t nDot = name.find_last_of('.');
    return nDot == std::string::npos ? name : name.substr(0, nDot);
}

// "name" of "name-mip2", empty when the name has no such ending.
std::string WithoutMip(const std::string& base)
{
    const std::size_t nDash = base.rfind("-mip");
    if (nDash == std::string::npos || nDash == 0 || nDash + 4 == base.size() ||
        base.find_first_not_of("0123456789", nDash + 4) != std::string::npos)
        return {};
    return base.substr(0, nDash);
}
} // namespace

std::vector<int> FindV3dTextures(const CORBISTAVDoc& doc, const std::vector<std::string>& names)
{
    std::unordered_map<std::string, int> entries;
    for (int i = 0; i < doc.m_nFileCount; ++i)
        entries.emplace(Lower(doc.m_files[i].strName), i);
    const auto find = [&](const std::string& name, const std::string& base)
    {
        if (const auto it = entries.find(name); it != entries.end())
            return it->second;
        for (const char* szExtension : kExtensions)
            if (const auto it = entries.find(base + szExtension); it != entries.end())
                return it->second;
        return -1;
    };
    std::vector<int> found(names.size(), -1);
    for (std::size_t n = 0; n < names.size(); ++n)
    {
        const std::string name = Lower(names[n]);
        const std::string base = Base(name);
        if (base.empty())
            continue;
        found[n] = find(name, base);
        if (const std::string full = WithoutMip(base); found[n] < 0 && !full.empty())
            found[n] = find(full + name.substr(base.size()), full);
    }
    return found;
}

std::vector<RgbaPicture> LoadV3dTextures(const CORBISTAVDoc& doc, IByteSource& archive,
                                         const std::vector<std::string>& names,
                                         CEntryReader::Mode mode, const std::vector<bool>& wanted)
{
    return LoadTextureEntries(doc, archive, FindV3dTextures(doc, names), mode, wanted);
}
