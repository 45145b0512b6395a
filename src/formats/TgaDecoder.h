#pragma once

#include <cstdint>
#include <span>

#include "Picture.h"
#include "Result.h"

// A 24- or 32-bit picture from the bytes of an uncompressed true-colour TGA entry (no
// image ID, no colour map). Rows are stored bottom row first whatever the file's origin;
// a file whose descriptor puts its first row at the top is turned the right way up.
Result DecodeTga(std::span<const std::uint8_t> entry, DecodedPicture& picture);
