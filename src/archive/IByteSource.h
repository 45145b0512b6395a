#pragma once

#include <cstddef>
#include <cstdint>

// Random access to the bytes of an archive. A short read is a result, not an error:
// callers compare what came back with what they asked for.
class IByteSource
{
public:
    virtual ~IByteSource() = default;
    virtual std::int64_t Size() const = 0;
    // Reads up to nCount bytes at nOffset; returns the number read (0 past the end),
    // or -1 when the underlying read failed.
    virtual std::int64_t ReadAt(std::int64_t nOffset, void* pBuffer, std::size_t nCount) = 0;
};
