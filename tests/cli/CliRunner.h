#pragma once

#include <string>
#include <vector>

// Runs the built orbistav-cli as a user would, capturing its output.
struct CliRun
{
    int nExit = -1;
    std::string out;
    std::string err;
};

CliRun RunCli(const std::vector<std::string>& args, const std::string& workDir = "");
