#include "CDynamicLibraryLoader.h"

#include <cstring>

#include <dlfcn.h>

void* CDynamicLibraryLoader::Open(const std::string& library)
{
    return ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
}

CompanionEntry CDynamicLibraryLoader::Find(void* handle, const std::string& entryName)
{
    if (!handle)
        return nullptr;
    void* symbol = ::dlsym(handle, entryName.c_str());
    if (!symbol)
        return nullptr;
    // dlsym hands out functions as object pointers; copy the bits rather than cast.
    CompanionEntry entry = nullptr;
    static_assert(sizeof entry == sizeof symbol);
    std::memcpy(&entry, &symbol, sizeof entry);
    return entry;
}

void CDynamicLibraryLoader::Close(void* handle)
{
    if (handle)
        ::dlclose(handle);
}
