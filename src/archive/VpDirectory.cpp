#include "VpDirectory.h"

#include <array>

#include "CByteReader.h"
#include "CRecordStream.h"
#include "IByteSource.h"
#include "VpFormat.h"

Result ReadVpDirectory(IByteSource& file, VpDirectory& directory)
{
    directory = VpDirectory();
    std::array<unsigned char, VP_HEADER_SIZE> header{};
    if (file.ReadAt(0, header.data(), header.size()) != static_cast<std::int64_t>(header.size()))
        return Result::Fail("the archive header is truncated");
    CByteReader head(header);
    std::int32_t nVersion = 0, nDirOffset = 0, nCount = 0;
    head.ReadFixedName(4, directory.strSignature);
    head.ReadInt32(nVersion);
    head.ReadInt32(nDirOffset);
    head.ReadInt32(nCount);
    if (nCount < 0)
    {
        directory.strIncomplete = "the entry count " + std::to_string(nCount) + " is negative";
        return Result::Ok();
    }
    if (nCount > 0 && (nDirOffset < 0 || nDirOffset >= file.Size()))
    {
        directory.strIncomplete = "the directory offset " + std::to_string(nDirOffset) +
                                  " lies outside the file (" + std::to_string(file.Size()) +
                                  " bytes)";
        return Result::Ok();
    }
    // Grown as entries arrive, so a count the file cannot hold reserves nothing.
    CRecordStream stream(file, nDirOffset, VP_ENTRY_SIZE);
    for (std::int32_t i = 0; i < nCount; ++i)
    {
        CByteReader record{std::span<const unsigned char>()};
        if (!stream.Next(record))
        {
            directory.strIncomplete = "the directory is truncated: " + std::to_string(i) + " of " +
                                      std::to_string(nCount) + " entries could be read";
            break;
        }
        VpEntry& entry = directory.aEntries.emplace_back();
        record.ReadInt32(entry.nOffset);
        record.ReadInt32(entry.nSize);
        record.ReadFixedName(VP_NAME_SIZE, entry.strName);
        record.ReadInt32(entry.tTime);
    }
    return Result::Ok();
}

ArchiveFile AsArchiveFile(const VpEntry& entry)
{
    ArchiveFile file;
    file.nOffset = entry.nOffset;
    file.nSize = entry.nSize;
    file.strName = entry.strName;
    file.tTime = entry.tTime;
    return file;
}

std::vector<std::string> VpEntryPaths(const std::vector<VpEntry>& entries)
{
    std::vector<std::string> paths;
    paths.reserve(entries.size());
    std::vector<std::string> stack; // the current directory's path at each depth
    std::string current;
    for (const VpEntry& entry : entries)
    {
        if (!entry.IsDirectory())
            paths.push_back(current + "\\" + entry.strName);
        else
        {
            paths.emplace_back();
            if (entry.IsParent())
            {
                if (!stack.empty())
                {
                    current = stack.back();
                    stack.pop_back();
                }
            }
            else
            {
                stack.push_back(current);
                current += "\\" + entry.strName;
            }
        }
    }
    return paths;
}
