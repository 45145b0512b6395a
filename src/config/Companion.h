#pragma once

#include <string>

class ICompanionLoader;

// The suite's companion library (stands in for "vx_tools.dll").
inline constexpr const char* kCompanionLibrary = "libvx_tools.so";

// Loads the companion library from the program's directory, else through the system's
// library search path, calls the named entry (DoAbout, DoVXVC, DoConfigGames) and
// unloads it. A missing library or entry does nothing.
void CallCompanion(const std::string& entryName);
void CallCompanion(const std::string& entryName, ICompanionLoader& loader);
