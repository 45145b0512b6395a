#include "WavPcm.h"

#include <climits>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "SdlLibrary.h"

Result DecodeWavToPcm16(std::span<const std::uint8_t> image, PcmSound& sound)
{
    const std::string refusal = "not a sound SDL can decode";
    if (image.empty() || image.size() > static_cast<std::size_t>(INT_MAX))
        return Result::Fail(refusal);
    if (!Sdl())
        return Result::Fail(refusal + " (libSDL2 could not be loaded)");
    SDL_AudioSpec spec{};
    Uint8* pDecoded = nullptr;
    Uint32 nDecodedLen = 0;
    SDL_RWops* pSource = Sdl()->RWFromConstMem(image.data(), static_cast<int>(image.size()));
    if (!pSource || !Sdl()->LoadWAV_RW(pSource, 1, &spec, &pDecoded, &nDecodedLen))
        return Result::Fail(refusal + " (" + Sdl()->GetError() + ")");

    const Uint32 nFrameBytes = SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels;
    SDL_AudioCVT cvt{};
    if (nFrameBytes == 0 || Sdl()->BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq,
                                                 AUDIO_S16SYS, spec.channels, spec.freq) < 0)
    {
        Sdl()->FreeWAV(pDecoded);
        return Result::Fail(refusal);
    }
    // SDL converts in a buffer of len * len_mult bytes, counted in an int.
    if (cvt.len_mult <= 0 || nDecodedLen > static_cast<Uint32>(INT_MAX / cvt.len_mult))
    {
        Sdl()->FreeWAV(pDecoded);
        return Result::Fail("the sound is too long to convert (" + std::to_string(nDecodedLen) +
                            " bytes)");
    }
    // A partial frame at the end would shift the channels of everything after a conversion.
    cvt.len = static_cast<int>(nDecodedLen - nDecodedLen % nFrameBytes);
    std::vector<std::int16_t> samples((static_cast<std::size_t>(cvt.len) * cvt.len_mult + 1) /
                                      sizeof(std::int16_t));
    cvt.buf = reinterpret_cast<Uint8*>(samples.data());
    std::memcpy(cvt.buf, pDecoded, static_cast<std::size_t>(cvt.len));
    Sdl()->FreeWAV(pDecoded);
    if (cvt.needed && Sdl()->ConvertAudio(&cvt) != 0)
        return Result::Fail(refusal);
    samples.resize(static_cast<std::size_t>(cvt.needed ? cvt.len_cvt : cvt.len) /
                   sizeof(std::int16_t));

    sound.nRate = spec.freq;
    sound.nChannels = spec.channels;
    sound.samples = std::move(samples);
    return Result::Ok();
}
