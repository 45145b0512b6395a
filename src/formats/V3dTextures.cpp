#include "V3dTextures.h"

#include <unordered_map>

#include "AsciiText.h"
#include "CORBISTAVDoc.h"
#include "PofTextures.h"

namespace
{
// Mods swap one kind of a Red Faction texture for another.
constexpr const char* kExtensions[] = {".tga", ".vbm", ".dds"};

// "name" of "name.tga"; the whole name when it has no extension.
std::string_view Base(std::string_view name)
{
    const std::size_t nDot = name.find_last_of('.');
    return nDot == std::string_view::npos ? name : name.substr(0, nDot);
}

// "name" of "name-mip2", empty when the name has no such ending.
std::string_view WithoutMip(std::string_view base)
{
    const std::size_t nDash = base.rfind("-mip");
    if (nDash == std::string_view::npos || nDash == 0 || nDash + 4 == base.size() ||
        base.find_first_not_of("0123456789", nDash + 4) != std::string_view::npos)
        return {};
    return base.substr(0, nDash);
}

void AddNames(std::string_view name, std::string_view base, std::vector<std::string>& names)
{
    names.emplace_back(name);
    for (const char* szExtension : kExtensions)
        names.push_back(std::string(base) + szExtension);
}
} // namespace

std::vector<std::string> V3dTextureFileNames(std::string_view name)
{
    const std::string lower = ToLowerAscii(name);
    const std::string_view base = Base(lower);
    if (base.empty())
        return {};
    std::vector<std::string> names;
    AddNames(lower, base, names);
    // A level's smaller copy the archive lacks: the full-size texture instead.
    if (const std::string_view full = WithoutMip(base); !full.empty())
        AddNames(std::string(full) + lower.substr(base.size()), full, names);
    return names;
}

std::vector<int> FindV3dTextures(const CORBISTAVDoc& doc, const std::vector<std::string>& names)
{
    std::unordered_map<std::string, int> entries;
    for (int i = 0; i < doc.m_nFileCount; ++i)
        entries.emplace(ToLowerAscii(doc.m_files[i].strName), i);
    std::vector<int> found(names.size(), -1);
    for (std::size_t n = 0; n < names.size(); ++n)
        for (const std::string& candidate : V3dTextureFileNames(names[n]))
            if (const auto it = entries.find(candidate); it != entries.end())
            {
                found[n] = it->second;
                break;
            }
    return found;
}

std::vector<RgbaPicture> LoadV3dTextures(const CORBISTAVDoc& doc, IByteSource& archive,
                                         const std::vector<std::string>& names,
                                         CEntryReader::Mode mode, const std::vector<bool>& wanted)
{
    return LoadTextureEntries(doc, archive, FindV3dTextures(doc, names), mode, wanted);
}
