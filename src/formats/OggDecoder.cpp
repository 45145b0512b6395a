#include "OggDecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstddef>
#include <cstring>
#include <string>
#include <utility>

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

struct OggFileState
{
    std::vector<std::uint8_t> bytes;
    std::size_t nPos = 0;
    OggVorbis_File file{};
    bool bOpen = false;
    int nRate = 0;
    int nChannels = 0;
    bool bEnded = false;   // nothing more until a rewind
    bool bDamaged = false; // ended at an error of the stream, not at its end

    // From the first byte, as a stream that cannot seek: libvorbisfile then reads no more
    // than the headers, where a seekable open would scan the whole entry for its links (and
    // 1.3.7 goes on to start a chained stream at its last link, and leaks on damaged chains).
    bool Start();
    void Close()
    {
        if (bOpen)
            ov_clear(&file);
        bOpen = false;
    }
    ~OggFileState() { Close(); }
};

namespace
{
std::size_t ReadMemory(void* pTo, std::size_t nSize, std::size_t nCount, void* pSource)
{
    auto& state = *static_cast<OggFileState*>(pSource);
    if (nSize == 0)
        return 0;
    const std::size_t nLeft = state.bytes.size() - state.nPos;
    const std::size_t nItems = std::min(nCount, nLeft / nSize);
    if (nItems == 0)
        return 0; // an empty entry has no data pointer to copy from
    std::memcpy(pTo, state.bytes.data() + state.nPos, nItems * nSize);
    state.nPos += nItems * nSize;
    return nItems;
}

// Vorbis orders surround channels centre-first and the LFE last; WAV and SDL want front left,
// front right, centre, LFE, then the rest. Entry i names the Vorbis channel of WAV channel i.
constexpr std::array<std::array<int, 8>, 9> kWavOrder = {{
    {},
    {0},
    {0, 1},
    {0, 2, 1},
    {0, 1, 2, 3},
    {0, 2, 1, 3, 4},
    {0, 2, 1, 5, 3, 4},
    {0, 2, 1, 6, 5, 3, 4},
    {0, 2, 1, 7, 5, 6, 3, 4},
}};

void ToWavOrder(std::int16_t* pFrames, std::size_t nFrames, int nChannels)
{
    if (nChannels < 3 || nChannels > 8 || nChannels == 4)
        return;
    const auto& order = kWavOrder[static_cast<std::size_t>(nChannels)];
    std::array<std::int16_t, 8> frame{};
    for (std::size_t i = 0; i < nFrames; ++i)
    {
        std::int16_t* p = pFrames + i * static_cast<std::size_t>(nChannels);
        std::copy(p, p + nChannels, frame.begin());
        for (int c = 0; c < nChannels; ++c)
            p[c] = frame[static_cast<std::size_t>(order[static_cast<std::size_t>(c)])];
    }
}
} // namespace

bool OggFileState::Start()
{
    Close();
    nPos = 0;
    const ov_callbacks callbacks{ReadMemory, nullptr, nullptr, nullptr};
    // A failed open has released what it set up.
    if (ov_open_callbacks(this, &file, nullptr, 0, callbacks) != 0)
        return false;
    bOpen = true;
    bEnded = false;
    bDamaged = false;
    return true;
}

Result COggSource::Open(std::vector<std::uint8_t> bytes, std::unique_ptr<COggSource>& source)
{
    auto pState = std::make_unique<OggFileState>();
    pState->bytes = std::move(bytes);
    if (!pState->Start())
        return Result::Fail("not an OGG Vorbis stream");
    const vorbis_info* pInfo = ov_info(&pState->file, -1);
    if (!pInfo || pInfo->channels < 1 || pInfo->rate < 1 || pInfo->rate > INT_MAX)
        return Result::Fail("not an OGG Vorbis stream");
    pState->nRate = static_cast<int>(pInfo->rate);
    pState->nChannels = pInfo->channels;
    source.reset(new COggSource(std::move(pState)));
    return Result::Ok();
}

COggSource::COggSource(std::unique_ptr<OggFileState> pState) : m_pState(std::move(pState)) {}

COggSource::~COggSource() = default;

int COggSource::Rate() const
{
    return m_pState->nRate;
}

int COggSource::Channels() const
{
    return m_pState->nChannels;
}

bool COggSource::Damaged() const
{
    return m_pState->bDamaged;
}

std::size_t COggSource::Read(std::int16_t* pFrames, std::size_t nFrames)
{
    OggFileState& state = *m_pState;
    const auto nFrameBytes = static_cast<std::size_t>(state.nChannels) * sizeof(std::int16_t);
    std::size_t nDone = 0;
    while (state.bOpen && !state.bEnded && nDone < nFrames)
    {
        const int nRoom =
            static_cast<int>(std::min<std::size_t>(nFrames - nDone, 1 << 16) * nFrameBytes);
        char* pTo = reinterpret_cast<char*>(pFrames + nDone * state.nChannels);
        int nLink = 0;
        const long nRead =
            ov_read(&state.file, pTo, nRoom, std::endian::native == std::endian::big, 2, 1, &nLink);
        if (nRead == OV_HOLE)
            continue; // a lost page, or the seam between two links: the stream goes on
        if (nRead <= 0)
        {
            state.bEnded = true;
            state.bDamaged = nRead < 0;
            break;
        }
        const vorbis_info* pInfo = ov_info(&state.file, -1);
        if (!pInfo || pInfo->channels != state.nChannels || pInfo->rate != state.nRate)
        {
            // The next link would need another device format; what it gave is dropped.
            state.bEnded = true;
            break;
        }
        const std::size_t nGot = static_cast<std::size_t>(nRead) / nFrameBytes;
        ToWavOrder(pFrames + nDone * state.nChannels, nGot, state.nChannels);
        nDone += nGot;
    }
    return nDone;
}

bool COggSource::Rewind()
{
    // Opened afresh, the stream decodes to the same frames as the first time: no seam.
    return m_pState->Start();
}

Result DecodeOggToPcm16(std::span<const std::uint8_t> bytes, PcmSound& sound,
                        std::uint64_t nMaxBytes)
{
    std::unique_ptr<COggSource> pSource;
    if (Result result = COggSource::Open({bytes.begin(), bytes.end()}, pSource); !result)
        return result;
    const auto nChannels = static_cast<std::size_t>(pSource->Channels());
    const std::uint64_t nMaxSamples = nMaxBytes / sizeof(std::int16_t);
    constexpr std::size_t kChunkFrames = 4096;
    std::vector<std::int16_t> chunk(kChunkFrames * nChannels);
    std::vector<std::int16_t> samples;
    while (const std::size_t nGot = pSource->Read(chunk.data(), kChunkFrames))
    {
        const std::size_t nSamples = nGot * nChannels;
        if (samples.size() + nSamples > nMaxSamples)
            return Result::Fail("the sound decodes to more than " + std::to_string(nMaxBytes) +
                                " bytes");
        samples.insert(samples.end(), chunk.begin(),
                       chunk.begin() + static_cast<std::ptrdiff_t>(nSamples));
    }
    if (pSource->Damaged())
        return Result::Fail("the OGG Vorbis stream is damaged after " +
                            std::to_string(samples.size() / nChannels) + " frames");
    sound.nRate = pSource->Rate();
    sound.nChannels = static_cast<int>(nChannels);
    sound.samples = std::move(samples);
    return Result::Ok();
}
