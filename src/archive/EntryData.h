#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Result.h"

struct ArchiveFile;
class IByteSource;

// An entry whose data lies outside the archive is damaged: it is never padded with
// bytes that were not read. sLabel names the entry in the message.
Result CheckEntryBounds(const ArchiveFile& file, std::int64_t nArchiveSize,
                        const std::string& sLabel);

// The whole data of one entry, after the bounds check.
Result ReadEntryData(IByteSource& archive, const ArchiveFile& file, const std::string& sLabel,
                     std::vector<unsigned char>& data);
