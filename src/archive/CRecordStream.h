#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "CByteReader.h"

class IByteSource;

// Fixed-size records read one after another from an offset, fetched in large
// blocks so that a directory of 16384 entries costs a handful of reads.
class CRecordStream
{
public:
    CRecordStream(IByteSource& source, std::int64_t nOffset, std::size_t nRecordSize);

    // The next whole record, or false when the source ends (or fails) before it.
    bool Next(CByteReader& record);

private:
    bool Fill();

    IByteSource& m_source;
    std::int64_t m_nOffset;
    std::size_t m_nRecordSize;
    std::vector<unsigned char> m_buffer;
    std::size_t m_nPos = 0;
    std::size_t m_nEnd = 0;
};
