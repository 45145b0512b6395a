#pragma once

#include <vector>

#include <benchmark/benchmark.h>

// Selects two entries of the same kind in turn in the file list, each time until the preview
// pane has painted it. make builds the entry for the shift 0 and 100, so each selection is a
// change; nWidth and nHeight are the picture size to check, or any size for text.
void BM_PreviewEntry(benchmark::State& state, const char* szExtension,
                     std::vector<unsigned char> (*make)(int nWidth, int nHeight, int nShift),
                     int nWidth, int nHeight);
