// Making archives: BM_Pack/1000x1MiB (pack of a folder of 1000 files of 1 MiB) against
// BM_ConcatBaseline/1000x1MiB (the same files read and written one after another into one
// file with plain read and write); BM_PackLz41/256MiB on one and on two jobs (256 files
// of 1 MiB that compress); BM_Verify/1000x1MiB (verify of the packed archive) against
// BM_ReadBaseline/1000x1MiB (the same bytes read with plain read calls). Everything lies
// in /dev/shm where there is one, so the disk does not decide the figures. Each runs 15
// times, the pairs interleaved at random, and reports mean, median and spread.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "BenchScratch.h"
#include "FolderPack.h"
#include "Lz41Builder.h"
#include "PackWriter.h"
#include "VerifyCommand.h"

namespace fs = std::filesystem;

namespace
{
constexpr int kFiles = 1000;
constexpr int kLz41Files = 256;
constexpr std::size_t kFileSize = 1 << 20;

std::string g_strWork;

std::string FileName(int i)
{
    return "file" + std::to_string(i) + ".dat";
}

void WriteFolder(const std::string& dir, int nFiles, bool bCompressible)
{
    fs::create_directories(dir);
    const std::string text = CompressibleText(kFileSize);
    std::vector<char> block(kFileSize);
    for (int i = 0; i < nFiles; ++i)
    {
        std::ofstream out(dir + "/" + FileName(i), std::ios::binary);
        if (bCompressible)
            out << text.substr(static_cast<std::size_t>(i) % 4096) << text.substr(0, i % 4096);
        else
        {
            for (std::size_t b = 0; b < block.size(); ++b)
                block[b] = static_cast<char>((b * 31 + static_cast<std::size_t>(i)) & 0xFF);
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
    }
}

void Pack(benchmark::State& state, const std::string& folder, bool bLz41, int nJobs,
          std::int64_t nBytes)
{
    const std::string out = g_strWork + "/out.vp";
    for (auto _ : state)
    {
        FolderPackOptions options;
        options.bLz41 = bLz41;
        options.strOutputPath = out;
        PackPlan plan;
        PackWriteOptions write;
        write.nJobs = nJobs;
        if (!PlanFolderPack(folder, options, plan) || !WriteVpArchive(plan.aItems, out, write))
            state.SkipWithError("pack failed");
        state.PauseTiming();
        fs::remove(out);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * nBytes);
}

void BM_Pack(benchmark::State& state)
{
    Pack(state, g_strWork + "/plain", false, 1, std::int64_t{kFiles} * kFileSize);
}

void BM_ConcatBaseline(benchmark::State& state)
{
    const std::string out = g_strWork + "/out.bin";
    std::vector<char> buffer(kFileSize);
    for (auto _ : state)
    {
        const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        for (int i = 0; i < kFiles; ++i)
        {
            const int in = ::open((g_strWork + "/plain/" + FileName(i)).c_str(), O_RDONLY);
            if (::read(in, buffer.data(), buffer.size()) != static_cast<ssize_t>(kFileSize) ||
                ::write(fd, buffer.data(), buffer.size()) != static_cast<ssize_t>(kFileSize))
                state.SkipWithError("copy failed");
            ::close(in);
        }
        ::close(fd);
        state.PauseTiming();
        fs::remove(out);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{kFiles} * kFileSize);
}

void BM_PackLz41(benchmark::State& state)
{
    Pack(state, g_strWork + "/text", true, static_cast<int>(state.range(0)),
         std::int64_t{kLz41Files} * kFileSize);
}

void BM_Verify(benchmark::State& state)
{
    const std::vector<std::string> archives = {g_strWork + "/packed.vp"};
    for (auto _ : state)
    {
        std::ostringstream out;
        if (VerifyArchives(archives, out) != 0)
            state.SkipWithError("verify failed");
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{kFiles} * kFileSize);
}

void BM_ReadBaseline(benchmark::State& state)
{
    std::vector<char> buffer(kFileSize);
    for (auto _ : state)
    {
        const int fd = ::open((g_strWork + "/packed.vp").c_str(), O_RDONLY);
        while (::read(fd, buffer.data(), buffer.size()) > 0)
        {
        }
        ::close(fd);
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{kFiles} * kFileSize);
}
} // namespace

int main(int argc, char** argv)
{
    g_strWork = MakeScratchDirectory();
    if (g_strWork.empty())
        return 1;
    WriteFolder(g_strWork + "/plain", kFiles, false);
    WriteFolder(g_strWork + "/text", kLz41Files, true);
    {
        FolderPackOptions options;
        PackPlan plan;
        if (!PlanFolderPack(g_strWork + "/plain", options, plan) ||
            !WriteVpArchive(plan.aItems, g_strWork + "/packed.vp", {}))
            return 1;
    }

    InitializeRepeatedBenchmarks(argc, argv);
    for (auto* pBench :
         {benchmark::RegisterBenchmark("BM_Pack/1000x1MiB", BM_Pack),
          benchmark::RegisterBenchmark("BM_ConcatBaseline/1000x1MiB", BM_ConcatBaseline),
          benchmark::RegisterBenchmark("BM_Verify/1000x1MiB", BM_Verify),
          benchmark::RegisterBenchmark("BM_ReadBaseline/1000x1MiB", BM_ReadBaseline)})
        pBench->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
    benchmark::RegisterBenchmark("BM_PackLz41/256MiB", BM_PackLz41)
        ->ArgName("jobs")
        ->Arg(1)
        ->Arg(2)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(g_strWork);
    return 0;
}
