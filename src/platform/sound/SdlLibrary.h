#pragma once

#include <SDL.h>

// SDL2, loaded when a sound first needs it rather than linked: with the libraries it brings
// (sound servers, codecs, Wayland) it cost every start of the programs some 15 ms, sound or
// no sound. Null when libSDL2 cannot be loaded; then nothing plays, as without a sound card.
struct SdlLibrary
{
#define ORBISTAV_SDL_FUNCTION(name) decltype(&::SDL_##name) name = nullptr;
#include "SdlFunctions.inc"
#undef ORBISTAV_SDL_FUNCTION
};

const SdlLibrary* Sdl();
