// BM_PreviewEntryPcx/1024x768: from the selection of a PCX row in the file list to the
// preview pane painted on screen: the entry read from the archive file, decoded and drawn.
// Run it on a real display (xvfb-run) to include the window system; offscreen otherwise.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>

#include <QApplication>
#include <QItemSelectionModel>

#include "CAutoPreview.h"
#include "CORBISTAVDoc.h"
#include "CORBISTAVView.h"
#include "IFileListHost.h"
#include "MediaBuilders.h"
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

void BM_PreviewEntryPcx(benchmark::State& state, int nWidth, int nHeight)
{
    TempDir dir;
    VpBuilder()
        .Dir("maps")
        .File("first.pcx", Picture(nWidth, nHeight, 0))
        .File("second.pcx", Picture(nWidth, nHeight, 100))
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
    if (pane.m_nWidth != nWidth || pane.m_nHeight != nHeight)
        state.SkipWithError("picture not shown");
    state.SetLabel(QGuiApplication::platformName().toStdString());
}
} // namespace

BENCHMARK_CAPTURE(BM_PreviewEntryPcx, 1024x768, 1024, 768)->Unit(benchmark::kMillisecond);

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
