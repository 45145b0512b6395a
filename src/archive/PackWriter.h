#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "PackItem.h"
#include "Result.h"

struct PackWriteOptions
{
    int nJobs = 1; // threads that compress
    std::function<bool()> isCancelled;
    std::function<void(std::int64_t)> onContentBytes; // content taken in
    std::function<void()> onFileDone;
};

// Writes the items as a .VP archive at targetPath. Files to compress are cut into blocks
// that the jobs compress while the archive is written in item order, so the bytes are the
// same for any number of jobs. Any failure or a cancel leaves targetPath as it was.
Result WriteVpArchive(const std::vector<PackItem>& items, const std::string& targetPath,
                      const PackWriteOptions& options);
