#pragma once

#include <string>

#include "PcmSound.h"

// A RIFF WAVE file of 16-bit PCM holding the sound, as orbistav-cli render writes it. The
// decoders keep sounds far below the format's 4 GiB; beyond it the file holds the whole
// frames that fit.
std::string EncodeWavPcm16(const PcmSound& sound);
