#pragma once

#include <cstdint>
#include <string>

#include "Result.h"

struct ArchiveFile;

// An entry whose data lies outside the archive is damaged: it is never padded with
// bytes that were not read. sLabel names the entry in the message.
Result CheckEntryBounds(const ArchiveFile& file, std::int64_t nArchiveSize,
                        const std::string& sLabel);
