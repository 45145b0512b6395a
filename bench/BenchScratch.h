#pragma once

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

// A fresh scratch directory in /dev/shm where there is one, so the disk does not decide
// the figures of benchmarks that write files; empty when none could be made.
inline std::string MakeScratchDirectory()
{
    const std::string base =
        std::filesystem::is_directory("/dev/shm") && ::access("/dev/shm", W_OK) == 0
            ? "/dev/shm"
            : std::filesystem::temp_directory_path().string();
    std::string work = base + "/orbistav-bench-XXXXXX";
    return ::mkdtemp(work.data()) ? work : std::string();
}

// 15 repetitions with the benchmarks interleaved at random, aggregates only; flags given
// on the command line come later and win.
inline void InitializeRepeatedBenchmarks(int argc, char** argv)
{
    std::vector<char*> args{argv[0]};
    static std::string defaults[] = {"--benchmark_repetitions=15",
                                     "--benchmark_enable_random_interleaving=true",
                                     "--benchmark_report_aggregates_only=true"};
    for (std::string& flag : defaults)
        args.push_back(flag.data());
    args.insert(args.end(), argv + 1, argv + argc);
    int nArgs = static_cast<int>(args.size());
    benchmark::Initialize(&nArgs, args.data());
}
