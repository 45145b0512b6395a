#pragma once

#include <cstdint>
#include <span>

#include "Result.h"
#include "RgbaPicture.h"

// A PNG picture of any colour type and depth as red, green, blue, alpha rows from the top.
// Refused: bytes that are no PNG, a damaged stream, and sizes the entry's bytes cannot hold.
Result DecodePng(std::span<const std::uint8_t> bytes, RgbaPicture& picture);
