// Reading the settings from the registry files, which are parsed anew on every read.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "GameDirectories.h"
#include "Settings.h"
#include "SuiteAccess.h"
#include "TempDir.h"

namespace
{
void BM_LoadSettings(benchmark::State& state)
{
    TempDir dir;
    ::setenv("QUILLMOOR_REGISTRY_DIR", dir.Path().c_str(), 1);
    for (const char* name : {kSettingSoundAutoRepeatWAV, kSettingAutoStopPreview,
                             kSettingSoundAutoPlayWAV, kSettingAutoPlayANI, kSettingAutoShowPCX,
                             kSettingInterfaceDisplayAsKB, kSettingInterfaceShowGrid})
        WriteSetting(name, 0);
    AppSettings settings;
    for (auto _ : state)
    {
        LoadSettings(settings);
        benchmark::DoNotOptimize(settings);
    }
    ::unsetenv("QUILLMOOR_REGISTRY_DIR");
}

void BM_GetGamePath(benchmark::State& state)
{
    TempDir dir;
    ::setenv("QUILLMOOR_REGISTRY_DIR", dir.Path().c_str(), 1);
    for (int i = 0; i < 16; ++i)
        WriteSuiteString("\\Games Configuration\\Game " + std::to_string(i), "Path",
                         "/games/" + std::to_string(i));
    WriteSuiteString("\\Games Configuration\\FreeSpace 2", "Path", "/games/fs2");
    for (auto _ : state)
        benchmark::DoNotOptimize(GetGamePath(GameFreeSpace2, EditionFull));
    ::unsetenv("QUILLMOOR_REGISTRY_DIR");
}
} // namespace

BENCHMARK(BM_LoadSettings)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GetGamePath)->Unit(benchmark::kMicrosecond);
