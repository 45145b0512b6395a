#pragma once

#include <string>

#include "IByteSource.h"
#include "Result.h"

// A regular file opened for reading. Data consumers open the archive anew for each
// use, so this is cheap and closes on destruction.
class CInputFile : public IByteSource
{
public:
    CInputFile() = default;
    ~CInputFile() override;
    CInputFile(const CInputFile&) = delete;
    CInputFile& operator=(const CInputFile&) = delete;

    // Fails on missing files, directories, devices and pipes.
    Result Open(const std::string& path);
    bool IsOpen() const { return m_fd >= 0; }
    const std::string& GetFilePath() const { return m_strPath; }
    // For copies the kernel makes from this file straight into another.
    int Fd() const { return m_fd; }

    std::int64_t Size() const override { return m_nSize; }
    std::int64_t ReadAt(std::int64_t nOffset, void* pBuffer, std::size_t nCount) override;

private:
    int m_fd = -1;
    std::int64_t m_nSize = 0;
    std::string m_strPath;
};
