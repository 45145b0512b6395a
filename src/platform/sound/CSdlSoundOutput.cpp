#include "CSdlSoundOutput.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>
#include <vector>

#include "SdlLibrary.h"

namespace
{
// About 50 ms per device buffer: short enough for a prompt start and stop, long enough not to
// starve a busy desktop's sound server.
Uint16 BufferFrames(int nFreq)
{
    Uint16 nFrames = 256;
    while (nFrames < 4096 && nFrames < nFreq / 20)
        nFrames = static_cast<Uint16>(nFrames * 2);
    return nFrames;
}

// Most streamed music is 44.1 kHz stereo, which then plays without conversion.
constexpr int kStreamRate = 44100;
constexpr Uint8 kStreamChannels = 2;
constexpr Uint32 kStreamFrameBytes = sizeof(std::int16_t) * kStreamChannels;
// 23 ms: a paused device asks for its next buffer up to a buffer's time after it is resumed,
// and a stream has to sound within 30 ms of its selection.
constexpr Uint16 kStreamBufferFrames = 1024;
} // namespace

struct CSdlSoundOutput::Converter
{
    SDL_AudioStream* pStream = nullptr;
    std::size_t nFrames = 0; // read from the source at a time: about a device buffer's worth
    Uint32 nFrameBytes = 0;
    std::vector<std::int16_t> frames;

    ~Converter()
    {
        if (pStream)
            Sdl()->FreeAudioStream(pStream);
    }
};

CSdlSoundOutput::CSdlSoundOutput() = default;

CSdlSoundOutput::~CSdlSoundOutput()
{
    Stop();
    for (std::uint32_t* pDevice : {&m_nDevice, &m_nStreamDevice})
        if (*pDevice != 0)
            CloseDevice(*pDevice);
    if (m_bAudioStarted)
    {
        Sdl()->QuitSubSystem(SDL_INIT_AUDIO);
        // Nothing else in the program uses SDL: release what it keeps besides the subsystem.
        if (Sdl()->WasInit(SDL_INIT_EVERYTHING) == 0)
            Sdl()->Quit();
    }
}

bool CSdlSoundOutput::Play(std::span<const std::uint8_t> image, bool bLoop)
{
    Stop();
    if (image.empty() || image.size() > static_cast<std::size_t>(INT_MAX) || !Sdl())
        return false;

    SDL_AudioSpec spec{};
    Uint8* pSound = nullptr;
    Uint32 nSoundLen = 0;
    SDL_RWops* pSource = Sdl()->RWFromConstMem(image.data(), static_cast<int>(image.size()));
    if (!pSource || !Sdl()->LoadWAV_RW(pSource, 1, &spec, &pSound, &nSoundLen))
        return false;
    // A sound without a single whole sample frame has nothing to play, and looping it would
    // never fill a buffer.
    const Uint32 nFrameBytes = SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels;
    if (nFrameBytes == 0 || nSoundLen < nFrameBytes || !StartAudio())
    {
        Sdl()->FreeWAV(pSound);
        return false;
    }

    if (!UseDevice({spec.freq, spec.format, spec.channels}))
    {
        Sdl()->FreeWAV(pSound);
        return false;
    }

    Sdl()->LockAudioDevice(m_nDevice);
    m_pSound = pSound;
    m_nSoundLen = nSoundLen - nSoundLen % nFrameBytes;
    m_nPos = 0;
    m_bLoop = bLoop;
    Sdl()->UnlockAudioDevice(m_nDevice);
    Sdl()->PauseAudioDevice(m_nDevice, 0);
    return true;
}

bool CSdlSoundOutput::PlayStream(std::unique_ptr<IPcmSource> pSource, bool bLoop)
{
    Stop();
    if (!pSource || pSource->Rate() <= 0 || pSource->Channels() <= 0 ||
        pSource->Channels() > UINT8_MAX || !StartAudio() || !UseStreamDevice())
        return false;

    std::unique_ptr<Converter> pConverter;
    const int nRate = pSource->Rate();
    const auto nChannels = static_cast<Uint8>(pSource->Channels());
    if (nRate != kStreamRate || nChannels != kStreamChannels)
    {
        pConverter = std::make_unique<Converter>();
        pConverter->pStream = Sdl()->NewAudioStream(AUDIO_S16SYS, nChannels, nRate, AUDIO_S16SYS,
                                                    kStreamChannels, kStreamRate);
        if (!pConverter->pStream) // a channel layout SDL cannot mix down
            return false;
        // Bounded both ways, so that neither a very high nor a very low rate makes the
        // converter hold more than a few device buffers.
        pConverter->nFrames =
            std::clamp<std::size_t>(static_cast<std::size_t>(kStreamBufferFrames) *
                                        static_cast<std::size_t>(nRate) / kStreamRate,
                                    64, 8192);
        pConverter->nFrameBytes = static_cast<Uint32>(sizeof(std::int16_t)) * nChannels;
        pConverter->frames.resize(pConverter->nFrames * nChannels);
    }

    Sdl()->LockAudioDevice(m_nStreamDevice);
    m_pStream = std::move(pSource);
    m_pConverter = std::move(pConverter);
    m_bStreamLoop = bLoop;
    m_bSourceDrained = false;
    m_bStreamEnded = false;
    Sdl()->UnlockAudioDevice(m_nStreamDevice);
    Sdl()->PauseAudioDevice(m_nStreamDevice, 0);
    return true;
}

void CSdlSoundOutput::Stop()
{
    // The audio threads run their callbacks under these locks, so once a sound is unhooked
    // here it is never read again and can be freed; closing a device instead would wait for it
    // to drain.
    if (m_nDevice != 0)
    {
        Sdl()->LockAudioDevice(m_nDevice);
        Uint8* pSound = m_pSound;
        m_pSound = nullptr;
        m_nSoundLen = 0;
        m_nPos = 0;
        Sdl()->UnlockAudioDevice(m_nDevice);
        Sdl()->PauseAudioDevice(m_nDevice, 1);
        Sdl()->FreeWAV(pSound);
    }
    if (m_nStreamDevice != 0)
    {
        Sdl()->LockAudioDevice(m_nStreamDevice);
        std::unique_ptr<IPcmSource> pStream = std::move(m_pStream);
        std::unique_ptr<Converter> pConverter = std::move(m_pConverter);
        Sdl()->UnlockAudioDevice(m_nStreamDevice);
        Sdl()->PauseAudioDevice(m_nStreamDevice, 1);
    }
}

bool CSdlSoundOutput::StartAudio()
{
    if (m_bAudioStarted)
        return true;
    if (m_bNoAudio || !Sdl())
    {
        m_bNoAudio = true;
        return false;
    }
    // SDL would otherwise take over SIGINT and SIGTERM from the application.
    Sdl()->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (Sdl()->InitSubSystem(SDL_INIT_AUDIO) != 0)
    {
        // No sound card or sound server: sounds stay silent, which is no error to report.
        m_bNoAudio = true;
        if (Sdl()->WasInit(SDL_INIT_EVERYTHING) == 0)
            Sdl()->Quit();
        return false;
    }
    m_bAudioStarted = true;
    return true;
}

// The open device when it has the format, else a new one: reopening drains the old device.
bool CSdlSoundOutput::UseDevice(const Format& format)
{
    if (m_nDevice != 0 && format != m_deviceFormat)
        CloseDevice(m_nDevice);
    if (m_nDevice != 0)
        return true;
    m_deviceFormat = format;
    return OpenGivingWay(m_nDevice, m_nStreamDevice, format, BufferFrames(format.nFreq),
                         &CSdlSoundOutput::FillBuffer, m_bySilence);
}

// Opened on the first stream and kept open for the output's life, but where the driver takes
// only one device at a time; a device that failed to open is tried again on the next stream.
bool CSdlSoundOutput::UseStreamDevice()
{
    if (m_nStreamDevice != 0)
        return true;
    return OpenGivingWay(m_nStreamDevice, m_nDevice, {kStreamRate, AUDIO_S16SYS, kStreamChannels},
                         kStreamBufferFrames, &CSdlSoundOutput::FillStreamBuffer,
                         m_byStreamSilence);
}

// Drivers with a single device (SDL's dummy driver among them) refuse a second one: the other
// device is closed then, and the open tried once more.
bool CSdlSoundOutput::OpenGivingWay(std::uint32_t& nDevice, std::uint32_t& nOther,
                                    const Format& format, std::uint16_t nFrames,
                                    void (*pFill)(void*, std::uint8_t*, int),
                                    std::uint8_t& bySilence)
{
    nDevice = OpenDevice(format, nFrames, pFill, bySilence);
    if (nDevice != 0 || nOther == 0)
        return nDevice != 0;
    CloseDevice(nOther);
    nDevice = OpenDevice(format, nFrames, pFill, bySilence);
    return nDevice != 0;
}

void CSdlSoundOutput::CloseDevice(std::uint32_t& nDevice)
{
    Sdl()->CloseAudioDevice(nDevice);
    nDevice = 0;
}

Uint32 CSdlSoundOutput::OpenDevice(const Format& format, Uint16 nFrames,
                                   void (*pFill)(void*, std::uint8_t*, int), Uint8& bySilence)
{
    SDL_AudioSpec desired{};
    desired.freq = format.nFreq;
    desired.format = format.nSampleFormat;
    desired.channels = format.nChannels;
    desired.samples = nFrames;
    desired.callback = pFill;
    desired.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to what the hardware takes, and the callbacks keep the
    // format asked for.
    const SDL_AudioDeviceID nDevice = Sdl()->OpenAudioDevice(nullptr, 0, &desired, &obtained, 0);
    if (nDevice != 0)
        bySilence = obtained.silence;
    return nDevice;
}

// Runs on the WAV device's audio thread with that device locked.
void CSdlSoundOutput::FillBuffer(void* pUser, std::uint8_t* pStream, int nLen)
{
    auto& self = *static_cast<CSdlSoundOutput*>(pUser);
    const auto nWanted = static_cast<Uint32>(nLen);
    Uint32 nDone = 0;
    while (self.m_pSound && nDone < nWanted)
    {
        if (self.m_nPos >= self.m_nSoundLen)
        {
            if (!self.m_bLoop)
                break;
            // Straight on from the first frame within the same buffer: no gap at the seam.
            self.m_nPos = 0;
        }
        const Uint32 n = std::min(nWanted - nDone, self.m_nSoundLen - self.m_nPos);
        std::memcpy(pStream + nDone, self.m_pSound + self.m_nPos, n);
        nDone += n;
        self.m_nPos += n;
    }
    // Unsigned 8-bit sounds are silent at 0x80, not at 0.
    std::memset(pStream + nDone, self.m_bySilence, nWanted - nDone);
}

// Runs on the stream device's audio thread with that device locked.
void CSdlSoundOutput::FillStreamBuffer(void* pUser, std::uint8_t* pStream, int nLen)
{
    auto& self = *static_cast<CSdlSoundOutput*>(pUser);
    const auto nWanted = static_cast<Uint32>(nLen);
    const Uint32 nDone = self.m_pStream ? self.FillFromStream(pStream, nWanted) : 0;
    std::memset(pStream + nDone, self.m_byStreamSilence, nWanted - nDone);
}

// Runs on the stream device's audio thread with that device locked; returns the bytes filled,
// whole frames of the device's format.
Uint32 CSdlSoundOutput::FillFromStream(std::uint8_t* pStream, Uint32 nLen)
{
    Uint32 nDone = 0;
    bool bRewound = false;
    while (!m_bStreamEnded && nLen - nDone >= kStreamFrameBytes)
    {
        std::size_t nRead = 0;
        if (!m_pConverter)
        {
            // SDL's buffers are aligned for any sample type, and nDone is whole frames.
            auto* pFrames = reinterpret_cast<std::int16_t*>(pStream + nDone);
            const std::size_t nRoom = (nLen - nDone) / kStreamFrameBytes;
            nRead = std::min(m_pStream->Read(pFrames, nRoom), nRoom);
            nDone += static_cast<Uint32>(nRead) * kStreamFrameBytes;
        }
        else
        {
            Converter& converter = *m_pConverter;
            const int nGot = Sdl()->AudioStreamGet(converter.pStream, pStream + nDone,
                                                   static_cast<int>(nLen - nDone));
            if (nGot > 0)
            {
                nDone += static_cast<Uint32>(nGot);
                continue;
            }
            if (nGot < 0 || m_bSourceDrained)
            {
                m_bStreamEnded = true;
                break;
            }
            // Only once the converter is empty, so that it never holds more than one read.
            nRead = std::min(m_pStream->Read(converter.frames.data(), converter.nFrames),
                             converter.nFrames);
            if (nRead > 0 &&
                Sdl()->AudioStreamPut(converter.pStream, converter.frames.data(),
                                      static_cast<int>(nRead * converter.nFrameBytes)) != 0)
            {
                m_bStreamEnded = true;
                break;
            }
        }
        if (nRead > 0)
        {
            bRewound = false;
            continue;
        }
        // The seam goes on within this buffer, and through the converter's filter unbroken. A
        // source with nothing after its rewind would have the audio thread rewind for ever; it
        // ends instead.
        if (m_bStreamLoop && !bRewound && m_pStream->Rewind())
        {
            bRewound = true;
            continue;
        }
        // The resampler still holds the sound's last few milliseconds.
        if (m_pConverter && Sdl()->AudioStreamFlush(m_pConverter->pStream) == 0)
            m_bSourceDrained = true;
        else
            m_bStreamEnded = true;
    }
    return nDone;
}
