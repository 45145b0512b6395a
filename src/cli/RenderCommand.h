#pragma once

#include <string>

class CCliArchive;

struct RenderOptions
{
    std::string strEntry; // archive path, as extract takes it
    std::string strOutput;
    int nFrame = 1; // of an animation, from 1
};

// "render": writes what the preview pane shows of a PCX, TGA or ANI entry as a PNG file.
// Nothing is written for an entry that is no picture or cannot be decoded.
int RenderEntry(const CCliArchive& archive, const RenderOptions& options);
