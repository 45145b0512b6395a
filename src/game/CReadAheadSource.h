#pragma once

#include <cstdint>
#include <vector>

#include "IByteSource.h"

// Small reads served from one window of the file read ahead: a listing probes the first
// bytes of every entry, and one read per window instead of one per entry was most of the
// time of a listing of a full archive. Larger reads go straight through.
class CReadAheadSource : public IByteSource
{
public:
    explicit CReadAheadSource(IByteSource& inner, std::size_t nWindow = 64 * 1024);

    std::int64_t Size() const override { return m_inner.Size(); }
    std::int64_t ReadAt(std::int64_t nOffset, void* pBuffer, std::size_t nCount) override;
    // The inner source now holds other bytes (another file was opened into it).
    void Forget() { m_nStart = -1; }

private:
    IByteSource& m_inner;
    std::vector<unsigned char> m_window;
    std::int64_t m_nStart = -1; // file offset of the window's first byte
    std::size_t m_nFilled = 0;
};
