#include "CSdlSoundOutput.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

#include <SDL.h>

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
} // namespace

CSdlSoundOutput::~CSdlSoundOutput()
{
    Stop();
    CloseDevice();
    if (m_bAudioStarted)
    {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        // Nothing else in the program uses SDL: release what it keeps besides the subsystem.
        if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
            SDL_Quit();
    }
}

bool CSdlSoundOutput::Play(std::span<const std::uint8_t> image, bool bLoop)
{
    Stop();
    if (image.empty() || image.size() > static_cast<std::size_t>(INT_MAX))
        return false;

    SDL_AudioSpec spec{};
    Uint8* pSound = nullptr;
    Uint32 nSoundLen = 0;
    SDL_RWops* pSource = SDL_RWFromConstMem(image.data(), static_cast<int>(image.size()));
    if (!pSource || !SDL_LoadWAV_RW(pSource, 1, &spec, &pSound, &nSoundLen))
        return false;
    // A sound without a single whole sample frame has nothing to play, and looping it would
    // never fill a buffer.
    const Uint32 nFrameBytes = SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels;
    if (nFrameBytes == 0 || nSoundLen < nFrameBytes || !StartAudio())
    {
        SDL_FreeWAV(pSound);
        return false;
    }

    if (!UseDevice({spec.freq, spec.format, spec.channels}))
    {
        SDL_FreeWAV(pSound);
        return false;
    }

    SDL_LockAudioDevice(m_nDevice);
    m_pSound = pSound;
    m_nSoundLen = nSoundLen - nSoundLen % nFrameBytes;
    m_nPos = 0;
    m_bLoop = bLoop;
    SDL_UnlockAudioDevice(m_nDevice);
    SDL_PauseAudioDevice(m_nDevice, 0);
    return true;
}

bool CSdlSoundOutput::PlayStream(std::unique_ptr<IPcmSource> pSource, bool bLoop)
{
    Stop();
    if (!pSource || pSource->Rate() <= 0 || pSource->Channels() <= 0 ||
        pSource->Channels() > UINT8_MAX || !StartAudio() ||
        !UseDevice({pSource->Rate(), AUDIO_S16SYS, static_cast<std::uint8_t>(pSource->Channels())}))
        return false;

    SDL_LockAudioDevice(m_nDevice);
    m_nStreamFrameBytes = static_cast<Uint32>(sizeof(std::int16_t)) * m_deviceFormat.nChannels;
    m_pStream = std::move(pSource);
    m_bStreamEnded = false;
    m_bLoop = bLoop;
    SDL_UnlockAudioDevice(m_nDevice);
    SDL_PauseAudioDevice(m_nDevice, 0);
    return true;
}

void CSdlSoundOutput::Stop()
{
    if (m_nDevice == 0)
        return;
    // The audio thread runs FillBuffer under this lock, so once the sound is unhooked here it
    // is never read again and can be freed; closing the device instead would wait for it to
    // drain.
    SDL_LockAudioDevice(m_nDevice);
    Uint8* pSound = m_pSound;
    m_pSound = nullptr;
    m_nSoundLen = 0;
    m_nPos = 0;
    std::unique_ptr<IPcmSource> pStream = std::move(m_pStream);
    SDL_UnlockAudioDevice(m_nDevice);
    SDL_PauseAudioDevice(m_nDevice, 1);
    SDL_FreeWAV(pSound);
    pStream.reset();
}

bool CSdlSoundOutput::StartAudio()
{
    if (m_bAudioStarted)
        return true;
    if (m_bNoAudio)
        return false;
    // SDL would otherwise take over SIGINT and SIGTERM from the application.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
    {
        // No sound card or sound server: sounds stay silent, which is no error to report.
        m_bNoAudio = true;
        if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
            SDL_Quit();
        return false;
    }
    m_bAudioStarted = true;
    return true;
}

// The open device when it has the format, else a new one: reopening drains the old device.
bool CSdlSoundOutput::UseDevice(const Format& format)
{
    if (m_nDevice != 0 && format != m_deviceFormat)
        CloseDevice();
    return m_nDevice != 0 || OpenDevice(format);
}

bool CSdlSoundOutput::OpenDevice(const Format& format)
{
    SDL_AudioSpec desired{};
    desired.freq = format.nFreq;
    desired.format = format.nSampleFormat;
    desired.channels = format.nChannels;
    desired.samples = BufferFrames(format.nFreq);
    desired.callback = &CSdlSoundOutput::FillBuffer;
    desired.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to what the hardware takes, and the buffer keeps the
    // sound's own format.
    const SDL_AudioDeviceID nDevice = SDL_OpenAudioDevice(nullptr, 0, &desired, &obtained, 0);
    if (nDevice == 0)
        return false;
    m_nDevice = nDevice;
    m_deviceFormat = format;
    m_bySilence = obtained.silence;
    return true;
}

void CSdlSoundOutput::CloseDevice()
{
    if (m_nDevice == 0)
        return;
    SDL_CloseAudioDevice(m_nDevice);
    m_nDevice = 0;
}

// Runs on SDL's audio thread with the device locked.
void CSdlSoundOutput::FillBuffer(void* pUser, std::uint8_t* pStream, int nLen)
{
    auto& self = *static_cast<CSdlSoundOutput*>(pUser);
    const auto nWanted = static_cast<Uint32>(nLen);
    Uint32 nDone = self.m_pStream ? self.FillFromStream(pStream, nWanted) : 0;
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

// Runs on the audio thread with the device locked; returns the bytes filled.
Uint32 CSdlSoundOutput::FillFromStream(std::uint8_t* pStream, Uint32 nLen)
{
    Uint32 nDone = 0;
    bool bRewound = false;
    while (!m_bStreamEnded && nLen - nDone >= m_nStreamFrameBytes)
    {
        // SDL's buffers are aligned for any sample type, and nDone is whole frames.
        auto* pFrames = reinterpret_cast<std::int16_t*>(pStream + nDone);
        const std::size_t nRoom = (nLen - nDone) / m_nStreamFrameBytes;
        const std::size_t nFrames = std::min(m_pStream->Read(pFrames, nRoom), nRoom);
        if (nFrames > 0)
        {
            nDone += static_cast<Uint32>(nFrames) * m_nStreamFrameBytes;
            bRewound = false;
            continue;
        }
        // The seam goes on within this buffer. A source with nothing after its rewind would
        // have the audio thread rewind for ever; it ends instead.
        if (!m_bLoop || bRewound || !m_pStream->Rewind())
            m_bStreamEnded = true;
        bRewound = true;
    }
    return nDone;
}
