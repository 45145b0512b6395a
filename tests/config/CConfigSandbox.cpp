#include "CConfigSandbox.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "ExecutablePath.h"

CConfigSandbox::CConfigSandbox()
{
    std::filesystem::create_directories(DriveC());
    std::filesystem::create_directories(ProgramDir());
    SetEnv("QUILLMOOR_REGISTRY_DIR", RegistryDir().c_str());
    SetEnv("VANTOREL_DRIVE_C", DriveC().c_str());
    SetExecutablePathOverride(ProgramPath());
}

CConfigSandbox::~CConfigSandbox()
{
    SetExecutablePathOverride("");
    for (auto it = m_aSaved.rbegin(); it != m_aSaved.rend(); ++it)
    {
        if (it->bWasSet)
            ::setenv(it->strName.c_str(), it->strValue.c_str(), 1);
        else
            ::unsetenv(it->strName.c_str());
    }
}

void CConfigSandbox::SetEnv(const char* name, const char* value)
{
    const char* old = std::getenv(name);
    m_aSaved.push_back(SavedVar{name, old != nullptr, old ? old : ""});
    if (value)
        ::setenv(name, value, 1);
    else
        ::unsetenv(name);
}

void CConfigSandbox::WriteModuleInfo(const std::string& desc, const std::string& vers)
{
    WriteFile(ProgramDir() + "/vx_modul.dat", "[Module]\r\nDesc=" + desc + "\r\nVers=" + vers +
                                                  "\r\nDate=2024-03-01\r\nCoder=Quillmoor\r\n");
}

void CConfigSandbox::WriteFile(const std::string& path, const std::string& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string CConfigSandbox::ReadFile(const std::string& path)
{
    return ReadFileText(path);
}

std::vector<std::string> CConfigSandbox::ListDir(const std::string& dir)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
        names.push_back(entry.path().filename().string());
    return names;
}
