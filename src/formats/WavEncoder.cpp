#include "WavEncoder.h"

#include <algorithm>
#include <cstdint>

namespace
{
void PutLe(std::string& out, std::uint64_t nValue, int nBytes)
{
    for (int i = 0; i < nBytes; ++i)
        out.push_back(static_cast<char>((nValue >> (8 * i)) & 0xFF));
}
} // namespace

std::string EncodeWavPcm16(const PcmSound& sound)
{
    const std::uint64_t nChannels = static_cast<std::uint8_t>(std::clamp(sound.nChannels, 1, 255));
    const std::uint64_t nRate = static_cast<std::uint32_t>(std::max(sound.nRate, 0));
    const std::uint64_t nFrameBytes = 2 * nChannels;
    const std::uint64_t nMaxData = (0xFFFFFFFFu - 36) / nFrameBytes * nFrameBytes;
    const std::uint64_t nData =
        std::min<std::uint64_t>(sound.samples.size() * 2 / nFrameBytes * nFrameBytes, nMaxData);

    std::string out;
    out.reserve(44 + nData);
    out += "RIFF";
    PutLe(out, 36 + nData, 4);
    out += "WAVEfmt ";
    PutLe(out, 16, 4);
    PutLe(out, 1, 2); // PCM
    PutLe(out, nChannels, 2);
    PutLe(out, nRate, 4);
    PutLe(out, std::min<std::uint64_t>(nRate * nFrameBytes, 0xFFFFFFFFu), 4);
    PutLe(out, nFrameBytes, 2);
    PutLe(out, 16, 2);
    out += "data";
    PutLe(out, nData, 4);
    for (std::uint64_t i = 0; i < nData / 2; ++i)
        PutLe(out, static_cast<std::uint16_t>(sound.samples[i]), 2);
    return out;
}
