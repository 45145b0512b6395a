#pragma once

#include <cstddef>
#include <cstdint>

// Interleaved signed 16-bit PCM produced as it is asked for, so that a long sound plays
// without being decoded whole first.
class IPcmSource
{
public:
    virtual ~IPcmSource() = default;

    virtual int Rate() const = 0;
    virtual int Channels() const = 0;
    // Frames written, at most nFrames; 0 at the end or on an error.
    virtual std::size_t Read(std::int16_t* pFrames, std::size_t nFrames) = 0;
    // Back to the first frame; false when the source cannot start over.
    virtual bool Rewind() = 0;
};
