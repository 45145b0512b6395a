#pragma once

#include <cstddef>
#include <cstdint>

// The Red Faction packfile, version 1: a 2048-byte block holding the 16-byte header
// (signature, version, file count, archive size), the directory of 64-byte entries (a
// NUL-padded 60-byte name, the size) from offset 2048, then each file's data, every
// part starting on a 2048-byte boundary. Offsets are implied by the sizes before them.
constexpr std::size_t VPP_HEADER_SIZE = 16;
constexpr std::int64_t VPP_DIRECTORY_OFFSET = 2048;
constexpr std::int64_t VPP_ALIGNMENT = 2048;
constexpr std::size_t VPP_ENTRY_SIZE = 64;
constexpr std::size_t VPP_NAME_SIZE = 60;
constexpr std::int32_t VPP_SIGNATURE = 0x51890ACE;
constexpr std::int32_t VPP_VERSION = 1;
