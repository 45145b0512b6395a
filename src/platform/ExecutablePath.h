#pragma once

#include <string>

// Full path of the running executable (from /proc/self/exe), or the override.
std::string GetExecutablePath();

// Lets tests place the "program" in a directory of their own (its module information
// file and companion library are looked up beside it). An empty path ends the override.
void SetExecutablePathOverride(std::string path);
