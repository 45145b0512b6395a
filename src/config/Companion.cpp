#include "Companion.h"

#include "CDynamicLibraryLoader.h"
#include "ProgramLocation.h"

void CallCompanion(const std::string& entryName)
{
    CDynamicLibraryLoader loader;
    CallCompanion(entryName, loader);
}

void CallCompanion(const std::string& entryName, ICompanionLoader& loader)
{
    const std::string directory = GetProgramDirectory();
    void* handle = nullptr;
    if (!directory.empty())
        handle = loader.Open(directory + kCompanionLibrary);
    if (!handle)
        handle = loader.Open(kCompanionLibrary);
    if (!handle)
        return;
    if (CompanionEntry entry = loader.Find(handle, entryName))
        entry();
    loader.Close(handle);
}
