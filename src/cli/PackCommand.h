#pragma once

#include <string>

struct PackOptions
{
    std::string strInput; // the folder (pack) or the archive (compress, decompress)
    std::string strOutput;
    bool bLz41 = false;
    bool bZeroTimes = false;
    int nJobs = 0; // 0: one per processor
};

// "pack": a new .VP archive from a folder's tree, or a .VPP packfile of its files.
int PackFolder(const PackOptions& options);
// "compress" and "decompress": the same archive with its entries stored the other way.
int CompressArchive(const PackOptions& options);
int DecompressArchive(const PackOptions& options);
