#pragma once

#include <span>

#include "IByteSource.h"

// An archive held in memory (fuzzing, tests). The bytes are not copied.
class CMemorySource : public IByteSource
{
public:
    explicit CMemorySource(std::span<const unsigned char> bytes) : m_bytes(bytes) {}
    std::int64_t Size() const override { return static_cast<std::int64_t>(m_bytes.size()); }
    std::int64_t ReadAt(std::int64_t nOffset, void* pBuffer, std::size_t nCount) override;

private:
    std::span<const unsigned char> m_bytes;
};
