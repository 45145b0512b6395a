#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

// The .VP layout: a 16-byte header (signature, version, directory offset, entry count),
// the files' data, then the directory of 44-byte entries (offset, size, a NUL-padded
// 32-byte name, time). A size of 0 marks a directory entry; ".." closes a directory.
constexpr std::size_t VP_HEADER_SIZE = 16;
constexpr std::size_t VP_ENTRY_SIZE = 44;
constexpr std::size_t VP_NAME_SIZE = 32;
constexpr char VP_SIGNATURE[] = "VPVP";
constexpr std::int32_t VP_VERSION = 2;
// Offsets and sizes are signed 32-bit, so nothing of an archive may lie beyond this.
constexpr std::int64_t VP_MAX_ARCHIVE_SIZE = std::numeric_limits<std::int32_t>::max();
// The engine needs the terminating NUL inside the name field.
constexpr std::size_t VP_MAX_NAME_LENGTH = VP_NAME_SIZE - 1;
