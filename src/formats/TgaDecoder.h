#pragma once

#include <cstdint>
#include <span>

#include "Picture.h"
#include "Result.h"

// A picture from the bytes of a TGA entry of any of the six image kinds: colour-mapped,
// true-colour or grey (types 1, 2, 3), stored or run-length (types 9, 10, 11), with its
// image ID and colour map (first index, 15/16/24/32-bit entries) read or skipped. Rows are
// stored bottom row first whatever the file's origin, left to right whatever its direction.
// A 24-bit true-colour file gives a 24-bit picture; every other gives 32 bits (blue, green,
// red, alpha; alpha 255 where the file stores none). Runs may go on across scan lines; a
// run past the last pixel or a map index outside the map is refused. A TGA 2.0 footer,
// behind the pixels, is never read.
Result DecodeTga(std::span<const std::uint8_t> entry, DecodedPicture& picture);
