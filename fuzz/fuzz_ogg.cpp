// Feeds arbitrary bytes to the OGG Vorbis decoder the way the player and render use it: open,
// play a while, loop back to the start, play again; then decode the whole with a small limit.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "OggDecoder.h"

namespace
{
constexpr std::size_t kMaxFrames = 1 << 16;

void Play(COggSource& source, std::vector<std::int16_t>& buffer)
{
    const auto nChannels = static_cast<std::size_t>(source.Channels());
    // Device buffers of uneven sizes, as an odd rate gives them.
    for (std::size_t nDone = 0, nAsk = 1; nDone < kMaxFrames; nAsk = nAsk * 3 % 4093 + 1)
    {
        const std::size_t nGot =
            source.Read(buffer.data(), std::min(nAsk, buffer.size() / nChannels));
        if (nGot == 0)
            break;
        if (nGot > nAsk)
            __builtin_trap();
        nDone += nGot;
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    std::unique_ptr<COggSource> source;
    if (COggSource::Open({pData, pData + nSize}, source))
    {
        if (source->Rate() <= 0 || source->Channels() <= 0 || source->Channels() > 255)
            __builtin_trap();
        std::vector<std::int16_t> buffer(4096 * static_cast<std::size_t>(source->Channels()));
        Play(*source, buffer);
        if (source->Rewind())
            Play(*source, buffer);
    }

    PcmSound sound;
    constexpr std::uint64_t kLimit = 1 << 20;
    if (DecodeOggToPcm16({pData, nSize}, sound, kLimit) &&
        (sound.nChannels <= 0 ||
         sound.samples.size() % static_cast<std::size_t>(sound.nChannels) != 0 ||
         sound.samples.size() * sizeof(std::int16_t) > kLimit))
        __builtin_trap();
    return 0;
}
