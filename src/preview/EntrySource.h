#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CEntryReader.h"
#include "Result.h"

class CORBISTAVDoc;
struct ArchiveFile;

// Where the bytes of an entry to preview lie: an entry of the open archive, of another
// archive, or a loose file (offset 0, its whole size). The pane, the viewer and the model's
// textures read through this, never through the document, so a game folder's entries preview
// as the archive's do.
struct EntrySource
{
    std::string strPath; // the file holding the bytes
    std::int64_t nOffset = 0;
    std::int64_t nSize = 0;
    // Content: an LZ41-compressed entry (or loose .lz41 file) is decompressed.
    CEntryReader::Mode mode = CEntryReader::Mode::Content;
    std::string strName;    // Windows-1252, as stored
    std::string strDirPath; // archive directory ("\data\music"), empty for the root
    int nType = 0;          // file type of the name

    // The entry of the open archive.
    static EntrySource FromDocument(const CORBISTAVDoc& doc, const ArchiveFile& file);
};

// The record the entry readers take; false for an entry past what they reach (2 GiB).
bool ToArchiveFile(const EntrySource& source, ArchiveFile& file);
// The entry's content, decompressed as its mode says; a damaged entry (data outside the file,
// a compressed entry that does not decompress) is refused rather than padded.
Result ReadEntrySource(const EntrySource& source, std::vector<std::uint8_t>& bytes);
// At most nMost bytes from the start of the content.
Result ReadEntrySourceHead(const EntrySource& source, std::size_t nMost,
                           std::vector<std::uint8_t>& bytes);
