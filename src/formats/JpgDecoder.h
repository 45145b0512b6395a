#pragma once

#include <cstdint>
#include <span>

#include "Result.h"
#include "RgbaPicture.h"

// A JPG picture (baseline or progressive; greyscale, colour or CMYK) as red, green, blue,
// alpha rows from the top, alpha 255.
Result DecodeJpg(std::span<const std::uint8_t> bytes, RgbaPicture& picture);
