#pragma once

#include <cstdint>
#include <span>

#include "Picture.h"
#include "Result.h"

// An 8-bit picture from the bytes of a PCX entry: one plane of run-length codes, its
// palette right behind the last code byte. A picture whose codes end before its last row
// is rejected; palette bytes missing at the end of the entry leave those colours black.
Result DecodePcx(std::span<const std::uint8_t> entry, DecodedPicture& picture);
