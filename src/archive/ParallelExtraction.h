#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Result.h"

class CEntryExtractor;
class CORBISTAVDoc;

// Extracts files with several extractors at once, each with its own view of the archive
// and of the destination: making files is mostly the file system's work, which runs on
// every core. Files of the same name go to one extractor, in their order, so that where
// two entries meet in one file the later one wins, as one at a time. onDone is called on
// the calling thread for every file, in the order given, as soon as it and those before it
// are done. Each extractor is used by one thread only; its written handler may be called
// from any of them.
void ExtractInParallel(const CORBISTAVDoc& doc, const std::vector<CEntryExtractor*>& extractors,
                       const std::vector<int>& files,
                       const std::function<void(std::size_t nIndex, const Result& result,
                                                const std::string& written)>& onDone);
