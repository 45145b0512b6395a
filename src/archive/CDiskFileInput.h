#pragma once

#include <cstdint>
#include <string>

#include "PackItem.h"

// A file on disk going into an archive with the size it had when the folder was read.
class CDiskFileInput : public IPackInput
{
public:
    CDiskFileInput(std::string path, std::int64_t nSize);
    ~CDiskFileInput() override;
    CDiskFileInput(const CDiskFileInput&) = delete;
    CDiskFileInput& operator=(const CDiskFileInput&) = delete;

    Result Read(std::span<unsigned char> buffer, std::size_t& nRead) override;
    Result OpenRange(int& fd, std::int64_t& nOffset) override;

private:
    Result Open();
    Result Changed() const;

    std::string m_strPath;
    std::int64_t m_nSize;
    std::int64_t m_nDone = 0;
    std::int64_t m_nFoundSize = 0; // when it was opened
    int m_fd = -1;
};
