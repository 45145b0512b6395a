#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "IPcmSource.h"

// Plays a WAV image or a decoded stream in the background, kept behind an interface so that
// the preview pane can be tested without a sound card.
class ISoundOutput
{
public:
    virtual ~ISoundOutput() = default;

    // Starts the sound and returns at once; any sound still playing is stopped first. The
    // caller keeps the image unchanged until Stop has returned. False when nothing plays: the
    // bytes are no sound this output can decode, or there is no audio device.
    virtual bool Play(std::span<const std::uint8_t> image, bool bLoop) = 0;
    // Starts the source and returns at once, like Play; the output owns the source from now
    // on and pulls from it as the device asks. False when nothing plays (no source, a format
    // the device does not take, or no audio device); the source is gone either way.
    virtual bool PlayStream(std::unique_ptr<IPcmSource> pSource, bool bLoop) = 0;
    // Once this returns, nothing of the sound is read or played any more, and a stream's
    // source has been freed.
    virtual void Stop() = 0;
};
