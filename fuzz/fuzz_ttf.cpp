// Feeds arbitrary bytes to the outline font sheet (FreeType underneath) and checks the
// picture it reports.
#include <cstddef>
#include <cstdint>
#include <span>

#include "OutlineFont.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    RgbaPicture sheet;
    if (RenderOutlineFontSheet(std::span<const std::uint8_t>(data, size), sheet) &&
        sheet.rgba.size() !=
            static_cast<std::size_t>(sheet.nWidth) * static_cast<std::size_t>(sheet.nHeight) * 4)
        __builtin_trap();
    return 0;
}
