#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Result.h"

// An 8-bit RGB PNG of nWidth x nHeight pixels from rows of red, green, blue triplets.
Result EncodePng(int nWidth, int nHeight, const std::vector<std::uint8_t>& rgb, std::string& png);
