#include "PngFileCheck.h"

#include <fstream>

namespace {

const std::string signature("\x89PNG\r\n\x1a\n", 8);
// The header chunk comes first, 13 bytes long.
const std::string headerStart("\0\0\0\x0dIHDR", 8);

unsigned long bigEndian(const std::string& bytes, std::size_t at)
{
    unsigned long value = 0;
    for (std::size_t i = at; i < at + 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

} // namespace

unsigned long PngFileCheck::widthOf(const std::string& bytes)
{
    if (bytes.size() < headerSize || bytes.compare(0, 8, signature) != 0 || bytes.compare(8, 8, headerStart) != 0)
        return 0;
    return bigEndian(bytes, 16);
}

bool PngFileCheck::isSafe(const std::string& bytes)
{
    const unsigned long width = widthOf(bytes);
    const unsigned long height = width == 0 ? 0 : bigEndian(bytes, 20);
    return width >= 1 && width <= maxSide && height >= 1 && height <= maxSide;
}

bool PngFileCheck::fileIsSafe(const std::string& path)
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file)
        return false;
    const unsigned long long size = static_cast<unsigned long long>(file.tellg());
    file.seekg(0);
    std::string bytes(headerSize, '\0');
    file.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    if (!isSafe(bytes))
        return false;
    // Chunk after chunk, each within the file, up to the end chunk. Only
    // the lengths are read; the data is stepped over.
    unsigned long long at = 8;
    std::string chunk(8, '\0');
    while (at + 12 <= size) {
        file.seekg(static_cast<std::streamoff>(at));
        if (!file.read(&chunk[0], 8))
            return false;
        const unsigned long long length = bigEndian(chunk, 0);
        if (length > 0x7FFFFFFFull || at + 12 + length > size)
            return false;
        if (chunk.compare(4, 4, "IEND") == 0)
            return true;
        at += 12 + length;
    }
    return false;
}
