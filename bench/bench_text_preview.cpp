// BM_PreviewEntryText/2MiB: from the selection of a 2 MiB mission in the file list to its
// text painted in the preview pane: read, decoded from Windows-1252, set, coloured and drawn.
// Target: 50 ms. BM_PreviewEntryTextWhole/2MiB: the text view alone with the whole text taken
// in, what a jump to the last line costs while the rest is still being taken in.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include <QPixmap>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>

#include "CTextView.h"
#include "PreviewBench.h"
#include "TextDecoder.h"

namespace
{
// A mission as FRED writes it: CRLF lines, mostly $ and + fields, sexp formulas, quoted
// names, comments, a few block comments and Windows-1252 letters.
std::vector<std::uint8_t> Mission(std::size_t nSize)
{
    std::string text = "#Mission Info\r\n\r\n$Version: 0.10\r\n$Name: XSTR(\"Bench\", -1)\r\n";
    for (int nShip = 0; text.size() < nSize; ++nShip)
    {
        const std::string n = std::to_string(nShip);
        text += "\r\n$Name: Alpha " + n + "\t\t; wing leader\r\n";
        text += "$Class: GTF Myrmidon\r\n$Team: Friendly\r\n";
        text += "$Location: " + n + "0.000000, -50.000000, 3000." + n + "\r\n";
        text += "$Orientation:\r\n\t1.000000, 0.000000, 0.000000,\r\n"
                "\t0.000000, 1.000000, 0.000000,\r\n\t0.000000, 0.000000, 1.000000\r\n";
        text += "$AI Behavior: None\r\n+AI Class: Captain\r\n";
        text += "$Cargo 1: XSTR(\"Caf\xE9 supplies; fragile\", -1)\r\n";
        text += "$Arrival Cue: ( has-time-elapsed " + n + " )\r\n";
        text += "$Departure Cue: ( is-destroyed-delay 0 \"Beta " + n + "\" )\r\n";
        if (nShip % 16 == 0)
            text += "/* kept for the\r\n   second wave */\r\n";
        text += "+Initial Velocity: 33\r\n+Initial Hull: 100\r\n+Respawn priority: 0\r\n";
        if (nShip % 64 == 0)
            text += "\r\n#Wings\r\n";
    }
    return {text.begin(), text.end()};
}

void PreviewTextWhole(benchmark::State& state, std::size_t nSize)
{
    const std::vector<std::uint8_t> bytes = Mission(nSize);
    CTextView view;
    // The pane as it stands below the tree in the main window.
    view.resize(275, 300);
    view.show();
    for (auto _ : state)
    {
        std::string utf8;
        if (!DecodeText(bytes, utf8))
        {
            state.SkipWithError("not decoded");
            break;
        }
        view.SetText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
        view.FinishLoading();
        benchmark::DoNotOptimize(view.grab());
    }
    if (!view.Editor()->document()->firstBlock().text().startsWith(u"#Mission Info"))
        state.SkipWithError("text not shown");
    state.counters["lines"] = view.Editor()->document()->blockCount();
}

void BM_PreviewEntryTextWhole(benchmark::State& state, std::size_t nSize)
{
    PreviewTextWhole(state, nSize);
}
} // namespace

BENCHMARK_CAPTURE(
    BM_PreviewEntry, Text / 2MiB, "fs2",
    [](int nSize, int, int nShift)
    {
        std::vector<std::uint8_t> text = Mission(static_cast<std::size_t>(nSize));
        text[40] = static_cast<std::uint8_t>('A' + nShift % 26);
        return std::vector<unsigned char>(text.begin(), text.end());
    },
    2 << 20, 0)
    ->Name("BM_PreviewEntryText/2MiB")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PreviewEntryTextWhole, 2MiB, 2u << 20)->Unit(benchmark::kMillisecond);
