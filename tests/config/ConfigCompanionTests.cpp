#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CConfigSandbox.h"
#include "Companion.h"
#include "ExecutablePath.h"
#include "ICompanionLoader.h"

namespace
{

std::vector<std::string>* s_pCalls = nullptr;

// Loads only the library it is told exists and records everything it is asked.
class CRecordingLoader : public ICompanionLoader
{
public:
    std::vector<std::string> m_aCalls;
    std::string m_strLoadable;

    void* Open(const std::string& library) override
    {
        m_aCalls.push_back("open " + library);
        return library == m_strLoadable ? this : nullptr;
    }
    CompanionEntry Find(void*, const std::string& entryName) override
    {
        m_aCalls.push_back("find " + entryName);
        CompanionEntry entry = [] { s_pCalls->push_back("called"); };
        return entryName == "DoAbout" ? entry : nullptr;
    }
    void Close(void*) override { m_aCalls.push_back("close"); }
};

TEST(ConfigCompanion, ProgramDirectoryFirstThenSearchPath)
{
    CConfigSandbox sandbox;
    CRecordingLoader loader;
    s_pCalls = &loader.m_aCalls;
    const std::string beside = sandbox.ProgramDir() + "/libvx_tools.so";

    CallCompanion("DoAbout", loader);
    EXPECT_EQ(loader.m_aCalls, (std::vector<std::string>{"open " + beside, "open libvx_tools.so"}));

    loader.m_aCalls.clear();
    loader.m_strLoadable = beside;
    CallCompanion("DoAbout", loader);
    EXPECT_EQ(loader.m_aCalls,
              (std::vector<std::string>{"open " + beside, "find DoAbout", "called", "close"}));

    loader.m_aCalls.clear();
    loader.m_strLoadable = "libvx_tools.so";
    CallCompanion("DoVXVC", loader);
    EXPECT_EQ(loader.m_aCalls, (std::vector<std::string>{"open " + beside, "open libvx_tools.so",
                                                         "find DoVXVC", "close"}));
    s_pCalls = nullptr;
}

TEST(ConfigCompanion, RealLibraryIsCalledAndAMissingOneIsQuiet)
{
    CConfigSandbox sandbox;
    const std::string log = sandbox.Root() + "/probe.log";
    sandbox.SetEnv("ORBISTAV_COMPANION_PROBE_LOG", log.c_str());

    CallCompanion("DoAbout"); // the sandbox's program directory holds no library
    EXPECT_EQ(CConfigSandbox::ReadFile(log), "");

    SetExecutablePathOverride(std::string(ORBISTAV_COMPANION_PROBE_DIR) + "/orbistav");
    CallCompanion("DoAbout");
    CallCompanion("NoSuchEntry");
    CallCompanion("DoConfigGames");
    EXPECT_EQ(CConfigSandbox::ReadFile(log), "DoAbout\nDoConfigGames\n");
}

} // namespace
