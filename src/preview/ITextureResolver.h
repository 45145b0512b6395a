#pragma once

#include <string_view>

#include "EntrySource.h"

// Where a model finds the textures it names: the open archive, or a game folder's archives
// and loose files.
class ITextureResolver
{
public:
    virtual ~ITextureResolver() = default;
    // Where the bytes of the file named fileName (any case, any directory) lie; false when
    // there is none.
    virtual bool Find(std::string_view fileName, EntrySource& found) = 0;
};
