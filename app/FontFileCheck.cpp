#include "FontFileCheck.h"

#include <fstream>
#include <iterator>

namespace {

// The PNG signature, then the header chunk: its length (13), "IHDR", the
// width and the height, each four bytes, most significant first.
const std::string signature("\x89PNG\r\n\x1a\n", 8);
const std::string headerStart("\0\0\0\x0dIHDR", 8);

unsigned long bigEndian(const std::string& bytes, std::size_t at)
{
    unsigned long value = 0;
    for (std::size_t i = at; i < at + 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

} // namespace

bool FontFileCheck::isSafe(const std::string& bytes)
{
    if (bytes.size() < 24 || bytes.compare(0, 8, signature) != 0 || bytes.compare(8, 8, headerStart) != 0)
        return false;
    return bigEndian(bytes, 16) >= 3 && bigEndian(bytes, 20) >= 1;
}

bool FontFileCheck::fileIsSafe(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    // The header is all that is looked at.
    std::string bytes(24, '\0');
    file.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return isSafe(bytes);
}
