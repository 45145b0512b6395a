#pragma once

#include <cstdint>
#include <memory>

#include "ISoundOutput.h"

// Sound output through SDL's audio device. SDL decodes the image (PCM, MS-ADPCM, IMA-ADPCM)
// into its own buffer, which the audio thread plays from; a stream is pulled from its source
// by the audio thread as the device asks for it. The audio subsystem is started on
// the first sound and the device is kept open between sounds, because closing it waits for
// the device to drain; it is opened again only for a sound of another format.
class CSdlSoundOutput : public ISoundOutput
{
public:
    CSdlSoundOutput() = default;
    ~CSdlSoundOutput() override;
    CSdlSoundOutput(const CSdlSoundOutput&) = delete;
    CSdlSoundOutput& operator=(const CSdlSoundOutput&) = delete;

    bool Play(std::span<const std::uint8_t> image, bool bLoop) override;
    bool PlayStream(std::unique_ptr<IPcmSource> pSource, bool bLoop) override;
    void Stop() override;

private:
    struct Format
    {
        int nFreq = 0;
        std::uint16_t nSampleFormat = 0;
        std::uint8_t nChannels = 0;
        bool operator==(const Format&) const = default;
    };

    bool StartAudio();
    bool UseDevice(const Format& format);
    bool OpenDevice(const Format& format);
    void CloseDevice();
    static void FillBuffer(void* pUser, std::uint8_t* pStream, int nLen);
    std::uint32_t FillFromStream(std::uint8_t* pStream, std::uint32_t nLen);

    bool m_bAudioStarted = false;
    bool m_bNoAudio = false; // the audio subsystem failed to start; not tried again
    std::uint32_t m_nDevice = 0;
    Format m_deviceFormat;
    std::uint8_t m_bySilence = 0;

    // Shared with the audio thread; changed only while the device is locked.
    std::uint8_t* m_pSound = nullptr;
    std::uint32_t m_nSoundLen = 0;
    std::uint32_t m_nPos = 0;
    bool m_bLoop = false;
    std::unique_ptr<IPcmSource> m_pStream;
    std::uint32_t m_nStreamFrameBytes = 0;
    bool m_bStreamEnded = false; // nothing more to read; silence until the next sound
};
