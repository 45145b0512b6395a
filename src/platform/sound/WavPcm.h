#pragma once

#include <cstdint>
#include <span>

#include "PcmSound.h"
#include "Result.h"

// A WAV image as SDL decodes it for playing (PCM of 8 to 32 bits, float, MS-ADPCM, IMA-ADPCM,
// A-law, mu-law), converted to signed 16-bit at the sound's own rate and channels. Needs no
// audio device.
Result DecodeWavToPcm16(std::span<const std::uint8_t> image, PcmSound& sound);
