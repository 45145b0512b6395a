#pragma once

#include <string>

#include "Result.h"

// An exclusive advisory lock (flock) on a lock file, held for the object's lifetime.
// Cooperating processes, and separate objects in one process, exclude each other.
class CFileLock
{
public:
    explicit CFileLock(const std::string& lockPath);
    ~CFileLock();
    CFileLock(const CFileLock&) = delete;
    CFileLock& operator=(const CFileLock&) = delete;

    bool IsLocked() const { return m_fd >= 0; }
    const Result& Status() const { return m_result; }

private:
    int m_fd = -1;
    Result m_result;
};
