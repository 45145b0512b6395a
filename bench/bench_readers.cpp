// Reading a full archive directory from the page cache: BM_ReadVp/16384, BM_ReadVpp/16384.
// The settings benchmarks live in bench_settings.cpp; BENCHMARK_MAIN is here.
#include <benchmark/benchmark.h>

#include <memory>

#include "CORBISTAVDoc.h"
#include "FullArchives.h"
#include "TempDir.h"

namespace
{
template <typename Builder>
void ReadArchive(benchmark::State& state, Builder make, const char* fileName)
{
    TempDir dir;
    const std::string path = dir / fileName;
    make(static_cast<int>(state.range(0))).WriteTo(path);
    auto doc = std::make_unique<CORBISTAVDoc>();
    doc->OnOpenDocument(path); // warm the page cache and the tables
    for (auto _ : state)
    {
        const auto result = doc->OnOpenDocument(path);
        benchmark::DoNotOptimize(result);
        if (doc->m_nFileCount != state.range(0))
            state.SkipWithError("wrong file count");
    }
    state.counters["files"] = static_cast<double>(doc->m_nFileCount);
}

void BM_ReadVp(benchmark::State& state)
{
    ReadArchive(
        state, [](int n) { return MakeFullVp(n); }, "bench.vp");
}

void BM_ReadVpp(benchmark::State& state)
{
    ReadArchive(
        state, [](int n) { return MakeFullVpp(n); }, "bench.vpp");
}
} // namespace

BENCHMARK(BM_ReadVp)->Arg(16384)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadVpp)->Arg(16384)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
