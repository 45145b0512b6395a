#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "PackItem.h"

class CInputFile;

// An entry of an open archive going into another just as it is stored, compressed or not:
// the kernel copies the range where it can.
class CStoredRangeInput : public IPackInput
{
public:
    CStoredRangeInput(std::shared_ptr<CInputFile> archive, std::int64_t nOffset,
                      std::int64_t nSize, std::string label);

    Result Read(std::span<unsigned char> buffer, std::size_t& nRead) override;
    Result OpenRange(int& fd, std::int64_t& nOffset) override;

private:
    std::shared_ptr<CInputFile> m_archive;
    std::int64_t m_nOffset;
    std::int64_t m_nSize;
    std::int64_t m_nDone = 0;
    std::string m_strLabel;
};
