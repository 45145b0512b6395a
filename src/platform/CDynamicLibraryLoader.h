#pragma once

#include "ICompanionLoader.h"

// The real loader: dlopen, dlsym, dlclose.
class CDynamicLibraryLoader : public ICompanionLoader
{
public:
    void* Open(const std::string& library) override;
    CompanionEntry Find(void* handle, const std::string& entryName) override;
    void Close(void* handle) override;
};
