#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "CEntryReader.h"
#include "CInputFile.h"
#include "CReadAheadSource.h"
#include "Result.h"

class CGameFolder;

// Reads the content of a game folder's files: an archive entry decompressed where it is
// compressed, a loose ".lz41" file decompressed, any other loose file as it is. The
// source last read stays open, so reading many files of one archive opens it once.
class CGameFileReader
{
public:
    explicit CGameFileReader(const CGameFolder& folder);

    // Opens one file; failures name its location and the cause.
    Result Open(int nFile);
    // The bytes of one file's content, without a label for a failure: for listings of
    // many files. False when the file cannot be read.
    bool ContentSizeOf(int nFile, std::int64_t& nSize);
    // After Open: the bytes the content has.
    std::int64_t ContentSize() const { return m_reader.ContentSize(); }
    Result Stream(const CEntryReader::Sink& sink) { return m_reader.Stream(sink); }
    Result ReadAll(std::vector<unsigned char>& content) { return m_reader.ReadAll(content); }

private:
    Result OpenAs(int nFile, const std::string& label);

    const CGameFolder& m_folder;
    CInputFile m_input;
    CReadAheadSource m_readAhead{m_input};
    int m_nOpenSource = -1;
    std::string m_strOpenPath; // a loose file's disk path
    CEntryReader m_reader;
};
