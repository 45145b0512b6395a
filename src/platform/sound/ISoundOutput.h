#pragma once

#include <cstdint>
#include <span>

// Plays a WAV image in the background, kept behind an interface so that the preview pane
// can be tested without a sound card.
class ISoundOutput
{
public:
    virtual ~ISoundOutput() = default;

    // Starts the sound and returns at once; any sound still playing is stopped first. The
    // caller keeps the image unchanged until Stop has returned. False when nothing plays: the
    // bytes are no sound this output can decode, or there is no audio device.
    virtual bool Play(std::span<const std::uint8_t> image, bool bLoop) = 0;
    // Once this returns, nothing of the sound is read or played any more.
    virtual void Stop() = 0;
};
