#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Result.h"

// An 8-bit PNG of nWidth x nHeight pixels from rows of red, green, blue triplets (nChannels 3)
// or red, green, blue, alpha quadruplets (nChannels 4), rows from the top.
Result EncodePng(int nWidth, int nHeight, const std::vector<std::uint8_t>& pixels, std::string& png,
                 int nChannels = 3);
