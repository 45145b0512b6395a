#include "CRegistryFile.h"

#include <ctime>
#include <filesystem>

#include "CFileLock.h"
#include "FileIo.h"
#include "RegistryLocation.h"

namespace
{

// "<file>.bak-20240131-235959", with "-2", "-3" ... when several backups fall into one
// second. Called under the lock, so no other writer can take the same name.
std::string FreeBackupName(const std::string& path)
{
    std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = path + ".bak-" + stamp;
    std::string name = base;
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(name, ec); ++n)
        name = base + "-" + std::to_string(n);
    return name;
}

} // namespace

CRegistryFile::CRegistryFile(RegistryRoot root) : CRegistryFile(root, GetRegistryFilePath(root)) {}

CRegistryFile::CRegistryFile(RegistryRoot root, std::string path)
    : m_nRoot(root), m_strPath(std::move(path))
{
}

CRegistryTree CRegistryFile::Read() const
{
    CRegistryTree tree;
    FileContents contents = ReadWholeFile(m_strPath);
    if (contents.bFound && contents.result)
        tree.LoadText(contents.strBytes, RegistryRootName(m_nRoot));
    return tree;
}

Result CRegistryFile::Update(const std::function<bool(CRegistryTree&)>& change)
{
    std::error_code ec;
    const std::filesystem::path dir = std::filesystem::path(m_strPath).parent_path();
    if (!dir.empty())
        std::filesystem::create_directories(dir, ec);
    if (ec)
        return Result::Fail("cannot create " + dir.string() + ": " + ec.message());

    CFileLock lock(m_strPath + ".lock");
    if (!lock.IsLocked())
        return lock.Status();

    FileContents contents = ReadWholeFile(m_strPath);
    if (!contents.result)
        return contents.result; // never replace what could not even be read

    const std::string_view rootName = RegistryRootName(m_nRoot);
    CRegistryTree tree;
    const bool bClean = !contents.bFound || tree.LoadText(contents.strBytes, rootName);
    if (!change(tree))
        return Result::Fail("the key or value name cannot be stored in " + m_strPath);

    const std::string text = tree.ToText(rootName);
    if (contents.bFound && bClean && text == contents.strBytes)
        return Result::Ok();
    if (!bClean)
    {
        const std::string backup = FreeBackupName(m_strPath);
        if (Result r = WriteFileAtomically(backup, contents.strBytes); !r)
            return r;
    }
    return WriteFileAtomically(m_strPath, text);
}
