#include "SdlLibrary.h"

#include "CDynamicLibraryLoader.h"

namespace
{
SdlLibrary Load()
{
    SdlLibrary sdl;
    CDynamicLibraryLoader loader;
    // Kept loaded for the rest of the run: SDL's audio thread may outlive any one user.
    void* handle = loader.Open("libSDL2-2.0.so.0");
    if (!handle)
        return sdl;
    bool bComplete = true;
#define ORBISTAV_SDL_FUNCTION(name)                                                                \
    sdl.name = reinterpret_cast<decltype(sdl.name)>(loader.Find(handle, "SDL_" #name));            \
    bComplete = bComplete && sdl.name != nullptr;
#include "SdlFunctions.inc"
#undef ORBISTAV_SDL_FUNCTION
    return bComplete ? sdl : SdlLibrary{};
}
} // namespace

const SdlLibrary* Sdl()
{
    static const SdlLibrary sdl = Load();
    return sdl.InitSubSystem ? &sdl : nullptr;
}
