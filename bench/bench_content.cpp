// Entry content: BM_ReadStored/64MiB (a plain entry streamed from an archive file in the
// page cache) against BM_DecompressLz41/64MiB (the same content stored LZ41-compressed in
// 64 KiB blocks, streamed decompressed), and BM_ProbeEntries/16384 (what list --json
// reads to tell compressed entries: every entry of a full archive opened once).
#include <benchmark/benchmark.h>

#include <memory>

#include "CEntryReader.h"
#include "CInputFile.h"
#include "CORBISTAVDoc.h"
#include "FullArchives.h"
#include "Lz41Builder.h"
#include "TempDir.h"

namespace
{
constexpr int kContentSize = 64 << 20;

void StreamEntry(benchmark::State& state, bool bCompressed)
{
    TempDir dir;
    const std::string content = CompressibleText(kContentSize);
    VpBuilder()
        .File("entry.tbl", bCompressed ? Lz41Builder(content, 65536).Bytes() : content)
        .WriteTo(dir / "bench.vp");
    auto doc = std::make_unique<CORBISTAVDoc>();
    doc->OnOpenDocument(dir / "bench.vp");
    CInputFile file;
    if (!file.Open(dir / "bench.vp"))
        state.SkipWithError("the archive does not open");
    CEntryReader reader(file);
    for (auto _ : state)
    {
        std::int64_t nBytes = 0;
        if (!reader.Open(doc->m_files[0], "entry.tbl") ||
            !reader.Stream(
                [&](std::span<const unsigned char> piece)
                {
                    nBytes += static_cast<std::int64_t>(piece.size());
                    return Result::Ok();
                }) ||
            nBytes != kContentSize)
            state.SkipWithError("the entry does not read");
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{kContentSize});
}

void BM_ReadStored(benchmark::State& state)
{
    StreamEntry(state, false);
}

void BM_DecompressLz41(benchmark::State& state)
{
    StreamEntry(state, true);
}

void BM_ProbeEntries(benchmark::State& state)
{
    TempDir dir;
    MakeFullVp(static_cast<int>(state.range(0))).WriteTo(dir / "full.vp");
    auto doc = std::make_unique<CORBISTAVDoc>();
    doc->OnOpenDocument(dir / "full.vp");
    for (auto _ : state)
    {
        CInputFile file;
        file.Open(dir / "full.vp");
        CEntryReader reader(file);
        int nCompressed = 0;
        for (int f = 0; f < doc->m_nFileCount; ++f)
        {
            reader.Open(doc->m_files[f], doc->m_files[f].strName);
            nCompressed += reader.IsCompressed() ? 1 : 0;
        }
        benchmark::DoNotOptimize(nCompressed);
    }
}
} // namespace

BENCHMARK(BM_ReadStored)->Name("BM_ReadStored/64MiB")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecompressLz41)->Name("BM_DecompressLz41/64MiB")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProbeEntries)->Arg(16384)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
