#pragma once

#include <string>

struct ProgramFileParts
{
    std::string strDirectory; // up to and including the last "/"; empty without one
    std::string strFileName;
};

// The running executable split at its last "/" (see SetExecutablePathOverride).
ProgramFileParts GetProgramFileParts();
std::string GetProgramDirectory();
// GetProgramDirectory() + "vx_modul.dat".
std::string GetModuleInfoPath();
// "Desc" of section "Module" of the module information file; empty when it is missing.
std::string GetModuleId();
