#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "Result.h"

// A directory that extraction writes into, held open so that every file and
// subdirectory is created relative to it: a symbolic link planted among the
// targets cannot redirect a write elsewhere.
class CDestinationDir
{
public:
    CDestinationDir() = default;
    ~CDestinationDir();
    CDestinationDir(CDestinationDir&& other) noexcept;
    CDestinationDir& operator=(CDestinationDir&& other) noexcept;
    CDestinationDir(const CDestinationDir&) = delete;
    CDestinationDir& operator=(const CDestinationDir&) = delete;

    // An existing directory.
    static Result Open(const std::string& path, CDestinationDir& dir);
    // A subdirectory, created when missing. The name must be a single component.
    Result OpenSubdir(const std::string& name, CDestinationDir& subdir) const;
    // An existing subdirectory, never created. Archive names come from a system that
    // ignores case ("\data\tables" names "Data/Tables" of a game installation), so when
    // the name as spelt is missing, a directory whose name differs only in the case of
    // ASCII letters is taken.
    Result OpenExistingSubdir(const std::string& name, CDestinationDir& subdir) const;
    // Writes a file that takes its name only when writeData succeeded (CAtomicFile): an
    // existing file is never half replaced, a killed extraction leaves nothing behind.
    // An existing file without write permission is refused, as opening it would be.
    Result WriteFileAtomically(const std::string& name,
                               const std::function<Result(int fd)>& writeData) const;

    const std::string& Path() const { return m_strPath; }
    // The disk path of a name in this directory.
    std::string PathOf(const std::string& name) const;
    bool IsOpen() const { return m_fd >= 0; }

private:
    Result OpenChild(const std::string& name, CDestinationDir& subdir) const;
    std::string FindDirectoryNoCase(const std::string& name) const;

    int m_fd = -1;
    std::string m_strPath;
};
