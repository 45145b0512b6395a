#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "IPcmSource.h"
#include "PcmSound.h"
#include "Result.h"

struct OggFileState;

// An OGG Vorbis entry decoded as it is read, from its bytes in memory, so a long piece of
// music starts at once and only a packet or so of PCM is held besides the bytes. Channels come
// in WAV order. A chained stream plays on across links of the same rate and channels and ends
// where one of another format begins.
class COggSource : public IPcmSource
{
public:
    // Refuses bytes that hold no Vorbis stream, or whose headers are damaged or cut off.
    static Result Open(std::vector<std::uint8_t> bytes, std::unique_ptr<COggSource>& source);
    ~COggSource() override;
    COggSource(const COggSource&) = delete;
    COggSource& operator=(const COggSource&) = delete;

    int Rate() const override;
    int Channels() const override;
    std::size_t Read(std::int16_t* pFrames, std::size_t nFrames) override;
    bool Rewind() override;
    // Reading stopped at damage in the stream rather than at its end.
    bool Damaged() const;

private:
    explicit COggSource(std::unique_ptr<OggFileState> pState);
    std::unique_ptr<OggFileState> m_pState;
};

inline constexpr std::uint64_t kMaxDecodedOggBytes = std::uint64_t{1} << 30;

// The whole stream at once, for orbistav-cli render. Refused when the PCM would take more
// than nMaxBytes, or when the stream breaks off at damage.
Result DecodeOggToPcm16(std::span<const std::uint8_t> bytes, PcmSound& sound,
                        std::uint64_t nMaxBytes = kMaxDecodedOggBytes);
