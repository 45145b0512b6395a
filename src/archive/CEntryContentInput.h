#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ArchiveFile.h"
#include "CEntryReader.h"
#include "PackItem.h"

class IByteSource;

// An entry of another archive going into a new one: its content, decompressed when it is
// stored compressed, each block checked as it is read.
class CEntryContentInput : public IPackInput
{
public:
    CEntryContentInput(std::shared_ptr<IByteSource> archive, const ArchiveFile& file,
                       std::string label);

    Result Read(std::span<unsigned char> buffer, std::size_t& nRead) override;

private:
    std::shared_ptr<IByteSource> m_archive;
    CEntryReader m_reader;
    ArchiveFile m_file;
    std::string m_strLabel;
    bool m_bOpen = false;
    std::span<const unsigned char> m_piece; // what the reader gave and was not yet taken
};
