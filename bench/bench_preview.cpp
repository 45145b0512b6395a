// BM_PreviewEntryPcx/1024x768 and BM_PreviewEntryDds/2048x2048: from the selection of a
// row in the file list to the preview pane painted on screen: the entry read from the
// archive file, decoded and drawn. Run it on a real display (xvfb-run) to include the window
// system; offscreen otherwise.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>

#include <QApplication>
#include <QItemSelectionModel>

#include "CAutoPreview.h"
#include "CORBISTAVDoc.h"
#include "CORBISTAVView.h"
#include "DdsBuilder.h"
#include "IFileListHost.h"
#include "MediaBuilders.h"
#include "PreviewBench.h"
#include "Settings.h"
#include "TempDir.h"
#include "VpBuilder.h"

namespace
{
struct PaneHost : IFileListHost
{
    CORBISTAVDoc* pDoc = nullptr;
    CAutoPreview* pPane = nullptr;
    void PreviewEntry(int nFile, bool bForce) override
    {
        pPane->PreviewEntry(pDoc->m_files[nFile], bForce);
    }
    void OnOpenSelected() override {}
    int CountSelectedRows() const override { return 1; }
};

std::vector<unsigned char> Picture(int nWidth, int nHeight, int nShift)
{
    std::array<Rgb, 256> palette{};
    for (int i = 0; i < 256; ++i)
        palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 90};
    return MakePcx8(
        nWidth, nHeight,
        [=](int x, int y)
        {
            const double v = std::sin((x + nShift) / 37.0) + std::sin(y / 23.0);
            return static_cast<std::uint8_t>((v + 2.0) / 4.0 * 250.0);
        },
        palette);
}

// A DXT1 texture with its mip levels, of smooth colours as game textures have.
std::vector<unsigned char> Texture(int nSide, int nShift)
{
    return MakeDxt1Texture(
        nSide,
        [=](double u, double v)
        {
            const double w = std::sin((u * nSide + nShift) / 37.0) + std::sin(v * nSide / 23.0);
            const auto level = static_cast<std::uint8_t>((w + 2.0) / 4.0 * 250.0);
            return Rgb{level, static_cast<std::uint8_t>(255 - level), 90};
        });
}
} // namespace

void BM_PreviewEntry(benchmark::State& state, const char* szExtension,
                     std::vector<unsigned char> (*make)(int nWidth, int nHeight, int nShift),
                     int nWidth, int nHeight)
{
    TempDir dir;
    VpBuilder()
        .Dir("maps")
        .File(std::string("first.") + szExtension, make(nWidth, nHeight, 0))
        .File(std::string("second.") + szExtension, make(nWidth, nHeight, 100))
        .Up()
        .WriteTo(dir / "bench.vp");
    CORBISTAVDoc doc;
    doc.OnOpenDocument(dir / "bench.vp");
    AppSettings settings;
    PaneHost host;
    QPixmap picture(16, 16);
    CORBISTAVView list(doc, settings, host, picture, picture);
    CAutoPreview pane(doc, settings);
    host.pDoc = &doc;
    host.pPane = &pane;
    list.SetupColumns();
    list.ShowDirectory(1);
    // The pane as it stands below the tree in the main window.
    pane.resize(275, 300);
    pane.show();
    list.show();
    QApplication::processEvents();

    int nRow = 0;
    for (auto _ : state)
    {
        // Alternate rows, so each selection is a change that starts a preview.
        nRow ^= 1;
        list.selectionModel()->select(list.model()->index(nRow, 0),
                                      QItemSelectionModel::ClearAndSelect |
                                          QItemSelectionModel::Rows);
        pane.viewport()->repaint();
        // Until the window system has taken the pixels.
        QGuiApplication::sync();
    }
    if (pane.PicturePresenter().IsEmpty() && pane.m_nHeight == 0
            ? !pane.ShowsText()
            : pane.m_nWidth != nWidth || pane.m_nHeight != nHeight)
        state.SkipWithError("entry not shown");
    state.SetLabel(QGuiApplication::platformName().toStdString());
}

BENCHMARK_CAPTURE(BM_PreviewEntry, Pcx / 1024x768, "pcx", Picture, 1024, 768)
    ->Name("BM_PreviewEntryPcx/1024x768")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(
    BM_PreviewEntry, Dds / 2048x2048, "dds",
    [](int nWidth, int, int nShift) { return Texture(nWidth, nShift); }, 2048, 2048)
    ->Name("BM_PreviewEntryDds/2048x2048")
    ->Unit(benchmark::kMillisecond);

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
