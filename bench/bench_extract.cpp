// Extraction: BM_ExtractSelection/1000x1MiB (the program's extraction of 1000 selected
// entries of 1 MiB each into a fresh directory, progress window included, offscreen)
// against BM_CopyBaseline/1000x1MiB (the same bytes copied from the archive into 1000
// files with plain read and write). Both write into the same file system: /dev/shm
// where there is one, so the disk does not decide the figures. Unless told otherwise,
// each runs 15 times, the two interleaved at random, and reports mean, median and spread.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include <QApplication>

#include "BenchScratch.h"
#include "CCommandTable.h"
#include "CMainFrame.h"
#include "CORBISTAVApp.h"
#include "CommandIds.h"
#include "IPlatformServices.h"
#include "VpBuilder.h"

namespace fs = std::filesystem;

namespace
{
constexpr int kEntries = 1000;
constexpr std::int32_t kEntrySize = 1 << 20;
constexpr std::int32_t kDataStart = 16;

struct NullPlatform : IPlatformServices
{
    void MessageBox(QWidget*, const QString&) override {}
    void MessageBox(QWidget*, const QString&, const QString&, MessageIcon) override {}
    QString GetOpenFileName(QWidget*, const QString&) override { return {}; }
    QStringList GetOpenFileNames(QWidget*, const QString&) override { return {}; }
    QString GetSaveFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    Answer Ask(QWidget*, const QString&, bool, bool) override { return Answer::Cancel; }
    std::optional<QString> AskText(QWidget*, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    QString PickFolder(QWidget*, const QString&, const QString&) override { return {}; }
    bool OpenDocument(const QString&, const QString&) override { return false; }
    bool StartProgram(const QString&, const QStringList&, const QString&, bool) override
    {
        return false;
    }
    void CallCompanion(const std::string&) override {}
    void SplashWait(int) override {}
};

std::string g_strWork;    // scratch directory of this run
std::string g_strArchive; // 1000 entries of 1 MiB, written once

std::string EntryName(int i)
{
    return "entry" + std::to_string(i) + ".dat";
}

// Header, data and directory written in turn, so the 1 GiB never sits in memory at once.
void WriteArchive()
{
    VpBuilder index;
    for (int i = 0; i < kEntries; ++i)
        index.RawEntry(kDataStart + i * kEntrySize, kEntrySize, EntryName(i));
    index.DirectoryOffset(kDataStart + kEntries * kEntrySize);
    const std::vector<unsigned char> head = index.Bytes();

    std::ofstream out(g_strArchive, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(head.data()), kDataStart);
    std::vector<char> block(kEntrySize);
    for (int i = 0; i < kEntries; ++i)
    {
        for (std::size_t b = 0; b < block.size(); ++b)
            block[b] = static_cast<char>((b * 31 + static_cast<std::size_t>(i)) & 0xFF);
        out.write(block.data(), kEntrySize);
    }
    out.write(reinterpret_cast<const char*>(head.data()) + kDataStart,
              static_cast<std::streamsize>(head.size() - kDataStart));
}

std::string FreshDirectory()
{
    static int s_nRun = 0;
    const std::string dir = g_strWork + "/out" + std::to_string(++s_nRun);
    fs::create_directories(dir);
    return dir;
}

void BM_ExtractSelection(benchmark::State& state)
{
    NullPlatform platform;
    CORBISTAVApp app(platform);
    if (!app.InitInstance(QString::fromStdString(g_strArchive)))
    {
        state.SkipWithError("the archive does not open");
        return;
    }
    CMainFrame& frame = *app.MainFrame();
    frame.Commands().Run(ID_SELECT_ALL);
    for (auto _ : state)
    {
        state.PauseTiming();
        const std::string dir = FreshDirectory();
        state.ResumeTiming();
        if (frame.ExtractSelection(dir, false) != kEntries)
            state.SkipWithError("extraction failed");
        state.PauseTiming();
        fs::remove_all(dir);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{kEntries} * kEntrySize);
}

void BM_CopyBaseline(benchmark::State& state)
{
    std::vector<char> buffer(kEntrySize);
    for (auto _ : state)
    {
        state.PauseTiming();
        const std::string dir = FreshDirectory();
        state.ResumeTiming();
        const int in = ::open(g_strArchive.c_str(), O_RDONLY);
        for (int i = 0; i < kEntries; ++i)
        {
            ::lseek(in, kDataStart + static_cast<off_t>(i) * kEntrySize, SEEK_SET);
            if (::read(in, buffer.data(), buffer.size()) != kEntrySize)
                state.SkipWithError("read failed");
            const int out =
                ::open((dir + "/" + EntryName(i)).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            if (::write(out, buffer.data(), buffer.size()) != kEntrySize)
                state.SkipWithError("write failed");
            ::close(out);
        }
        ::close(in);
        state.PauseTiming();
        fs::remove_all(dir);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{kEntries} * kEntrySize);
}
} // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    g_strWork = MakeScratchDirectory();
    if (g_strWork.empty())
        return 1;
    g_strArchive = g_strWork + "/bench.vp";
    // The program's settings and legacy files stay out of the user's own.
    ::setenv("QUILLMOOR_REGISTRY_DIR", (g_strWork + "/registry").c_str(), 1);
    ::setenv("VANTOREL_DRIVE_C", (g_strWork + "/drive_c").c_str(), 1);
    WriteArchive();

    QApplication qapp(argc, argv);
    InitializeRepeatedBenchmarks(argc, argv);
    for (auto* pBench :
         {benchmark::RegisterBenchmark("BM_ExtractSelection/1000x1MiB", BM_ExtractSelection),
          benchmark::RegisterBenchmark("BM_CopyBaseline/1000x1MiB", BM_CopyBaseline)})
        pBench->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(g_strWork);
    return 0;
}
