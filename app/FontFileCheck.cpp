#include "FontFileCheck.h"

#include "PngFileCheck.h"

#include <fstream>

bool FontFileCheck::isSafe(const std::string& bytes)
{
    return PngFileCheck::isSafe(bytes) && PngFileCheck::widthOf(bytes) >= 3;
}

bool FontFileCheck::fileIsSafe(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    // The header here; its chunks as for every picture.
    std::string bytes(PngFileCheck::headerSize, '\0');
    file.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return isSafe(bytes) && PngFileCheck::fileIsSafe(path);
}
