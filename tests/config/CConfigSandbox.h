#pragma once

#include <string>
#include <vector>

#include "TempDir.h"

// A private world for one test: registry directory, Wine drive C and the directory of the
// "program", all in a fresh temporary directory; the environment and the program path
// are restored and the directory removed when the sandbox goes.
class CConfigSandbox
{
public:
    CConfigSandbox();
    ~CConfigSandbox();
    CConfigSandbox(const CConfigSandbox&) = delete;
    CConfigSandbox& operator=(const CConfigSandbox&) = delete;

    const std::string& Root() const { return m_root.Path(); }
    std::string RegistryDir() const { return m_root / "registry"; }
    std::string DriveC() const { return m_root / "wine/drive_c"; }
    std::string ProgramDir() const { return m_root / "bin"; }
    std::string ProgramPath() const { return ProgramDir() + "/orbistav"; }

    // Sets a variable for the sandbox's lifetime (nullptr unsets it).
    void SetEnv(const char* name, const char* value);

    // vx_modul.dat beside the program.
    void WriteModuleInfo(const std::string& desc, const std::string& vers = "2.0 (Build 3)");

    static void WriteFile(const std::string& path, const std::string& bytes);
    static std::string ReadFile(const std::string& path);
    static std::vector<std::string> ListDir(const std::string& dir);

private:
    struct SavedVar
    {
        std::string strName;
        bool bWasSet;
        std::string strValue;
    };
    TempDir m_root;
    std::vector<SavedVar> m_aSaved;
};
