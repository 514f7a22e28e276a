#pragma once

// Small file helpers for tests.

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace TestFiles {

// The whole file, byte for byte; empty when it cannot be read.
inline std::string readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Runs a shell command and collects what it prints; false when it could not
// be started. `status` is the command's wait status.
inline bool runCommand(const std::string& command, std::string& output, int& status)
{
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return false;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    status = ::pclose(pipe);
    return true;
}

} // namespace TestFiles
