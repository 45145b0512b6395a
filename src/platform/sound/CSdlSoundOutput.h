#pragma once

#include <cstdint>
#include <memory>

#include "ISoundOutput.h"

// Sound output through SDL's audio devices. SDL decodes a WAV image (PCM, MS-ADPCM,
// IMA-ADPCM) into its own buffer, which one device plays from in the sound's own format; it
// is opened again only for a WAV of another format. A stream is pulled from its source by a
// second device, opened once at a fixed format and converted to it as the device asks, so that
// no stream ever waits for a device to close: closing one drains it for up to a quarter of a
// second. The audio subsystem is started on the first sound and the devices stay open.
class CSdlSoundOutput : public ISoundOutput
{
public:
    CSdlSoundOutput();
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
    struct Converter; // SDL's audio stream, and what a source is read into before it

    bool StartAudio();
    bool UseDevice(const Format& format);
    bool UseStreamDevice();
    bool OpenGivingWay(std::uint32_t& nDevice, std::uint32_t& nOther, const Format& format,
                       std::uint16_t nFrames, void (*pFill)(void*, std::uint8_t*, int),
                       std::uint8_t& bySilence);
    std::uint32_t OpenDevice(const Format& format, std::uint16_t nFrames,
                             void (*pFill)(void*, std::uint8_t*, int), std::uint8_t& bySilence);
    static void CloseDevice(std::uint32_t& nDevice);
    static void FillBuffer(void* pUser, std::uint8_t* pStream, int nLen);
    static void FillStreamBuffer(void* pUser, std::uint8_t* pStream, int nLen);
    std::uint32_t FillFromStream(std::uint8_t* pStream, std::uint32_t nLen);

    bool m_bAudioStarted = false;
    bool m_bNoAudio = false; // the audio subsystem failed to start; not tried again
    std::uint32_t m_nDevice = 0;
    Format m_deviceFormat;
    std::uint8_t m_bySilence = 0;
    std::uint32_t m_nStreamDevice = 0;
    std::uint8_t m_byStreamSilence = 0;

    // Shared with the WAV device's audio thread; changed only while that device is locked.
    std::uint8_t* m_pSound = nullptr;
    std::uint32_t m_nSoundLen = 0;
    std::uint32_t m_nPos = 0;
    bool m_bLoop = false;

    // Shared with the stream device's audio thread; changed only while that device is locked.
    std::unique_ptr<IPcmSource> m_pStream;
    std::unique_ptr<Converter> m_pConverter; // none when the source has the device's format
    bool m_bStreamLoop = false;
    bool m_bSourceDrained = false; // the source gave its last frame; the converter is flushed
    bool m_bStreamEnded = false;   // nothing more to play; silence until the next sound
};
