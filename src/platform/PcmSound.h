#pragma once

#include <cstdint>
#include <vector>

// A whole sound as signed 16-bit PCM, channels interleaved frame by frame.
struct PcmSound
{
    int nRate = 0;
    int nChannels = 0;
    std::vector<std::int16_t> samples;
};
