// The browser views: BM_ShowAllFiles/16384 (the "<All files>" fill of a full .VP and the
// list's first paint), BM_FilterKeystroke/16384 (one typed character of the filter over the
// same list: refill and paint) and BM_TreeRebuild/511 (the tree of a .VP with 511 directories).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include <QApplication>
#include <QImage>

#include "CLeftView.h"
#include "CMemorySource.h"
#include "CORBISTAVDoc.h"
#include "CORBISTAVView.h"
#include "FullArchives.h"
#include "IFileListHost.h"
#include "Settings.h"
#include "VpBuilder.h"

namespace
{
struct NullHost : IFileListHost
{
    void PreviewEntry(int, bool) override {}
    void OnOpenSelected() override {}
    int CountSelectedRows() const override { return 0; }
};

QPixmap Picture(Qt::GlobalColor color)
{
    QPixmap picture(16, 16);
    picture.fill(color);
    return picture;
}

struct Views
{
    std::unique_ptr<CORBISTAVDoc> doc = std::make_unique<CORBISTAVDoc>();
    AppSettings settings;
    NullHost host;
    CORBISTAVView list{*doc, settings, host, Picture(Qt::yellow), Picture(Qt::white)};
    CLeftView tree{*doc, list};

    explicit Views(const std::vector<unsigned char>& bytes)
    {
        CMemorySource source(bytes);
        doc->Serialize(source, "/bench/bench.vp");
        list.SetupColumns();
        tree.Rebuild();
    }
};

// Seven top directories sharing the rest of nDirs as subdirectories (511 = 7 + 7 * 72),
// four files in each subdirectory.
VpBuilder ManyDirectories(int nDirs)
{
    constexpr int nTop = 7;
    const int nPerTop = (nDirs - nTop) / nTop;
    VpBuilder vp;
    int nFile = 0;
    for (int top = 0; top < nTop; ++top)
    {
        vp.Dir("data" + std::to_string(top));
        for (int d = 0; d < nPerTop; ++d)
        {
            vp.Dir("directory" + std::to_string(d));
            for (int f = 0; f < 4; ++f, ++nFile)
                vp.RawEntry(16, 1000, "file_" + std::to_string(nFile) + ".tbl");
            vp.Up();
        }
        vp.Up();
    }
    return vp;
}

void BM_ShowAllFiles(benchmark::State& state)
{
    Views views(MakeFullVp(static_cast<int>(state.range(0))).Bytes());
    views.list.resize(800, 600);
    QImage image(views.list.size(), QImage::Format_ARGB32_Premultiplied);
    views.list.ShowDirectory(-1);
    QCoreApplication::processEvents();
    views.list.render(&image);
    for (auto _ : state)
    {
        views.list.ShowDirectory(-1);
        // The view lays itself out from a zero timer after a reset.
        QCoreApplication::processEvents();
        views.list.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    if (views.list.RowCount() != state.range(0))
        state.SkipWithError("wrong row count");
    state.counters["rows"] = views.list.RowCount();
}

void BM_FilterKeystroke(benchmark::State& state)
{
    Views views(MakeFullVp(static_cast<int>(state.range(0))).Bytes());
    views.list.resize(800, 600);
    QImage image(views.list.size(), QImage::Format_ARGB32_Premultiplied);
    views.list.ShowDirectory(-1);
    // Typing "file_12" and taking it back again, one character at a time; the wildcard
    // pattern costs most, so every other step is one.
    const QStringList steps = {"f", "fi", "fil", "file", "file_", "file_1", "file_12",
                               "*1?2*", "file_1", "file_", "file", "fil", "fi", "f", ""};
    int nStep = 0;
    for (auto _ : state)
    {
        views.list.SetFilter(steps[nStep++ % steps.size()]);
        QCoreApplication::processEvents();
        views.list.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    views.list.SetFilter(QString());
    if (views.list.RowCount() != state.range(0))
        state.SkipWithError("wrong row count");
}

void BM_TreeRebuild(benchmark::State& state)
{
    Views views(ManyDirectories(static_cast<int>(state.range(0))).Bytes());
    views.tree.resize(275, 400);
    for (auto _ : state)
    {
        views.tree.Rebuild();
        QCoreApplication::processEvents();
    }
    if (views.doc->m_nDirCount != state.range(0) + 1)
        state.SkipWithError("wrong directory count");
    state.counters["dirs"] = views.doc->m_nDirCount - 1;
}
} // namespace

BENCHMARK(BM_ShowAllFiles)->Arg(16384)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterKeystroke)->Arg(16384)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TreeRebuild)->Arg(511)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
