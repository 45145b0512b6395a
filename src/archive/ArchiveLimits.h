#pragma once

// Fixed capacities of the archive document; the tables never grow.
constexpr int MAX_DIRS = 512;    // directory records, the root included
constexpr int MAX_SUBDIRS = 128; // subdirectory slots of one directory record
constexpr int MAX_FILES = 16384; // file records; also the file slots of one directory
constexpr int FILE_TYPE_COUNT = 46;

// Archive kinds held in m_nArchiveKind.
constexpr int ARCHIVE_KIND_NONE = 0;
constexpr int ARCHIVE_KIND_VP = 1;
constexpr int ARCHIVE_KIND_VPP = 2;
