#pragma once

#include <string>

// Entry points of the companion library take no arguments; their result is not used.
using CompanionEntry = void (*)();

// Loading of the companion library, kept behind an interface so that tests can record
// what would be loaded and called.
class ICompanionLoader
{
public:
    virtual ~ICompanionLoader() = default;

    // A file name with a "/" is loaded from that path, a bare name through the system's
    // library search path. nullptr when it cannot be loaded.
    virtual void* Open(const std::string& library) = 0;
    // nullptr when the library has no such export.
    virtual CompanionEntry Find(void* handle, const std::string& entryName) = 0;
    virtual void Close(void* handle) = 0;
};
