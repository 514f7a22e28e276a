#pragma once

// Small file helpers for tests.

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

} // namespace TestFiles
