#include "JpegFileCheck.h"

#include <fstream>
#include <iterator>

namespace {

const unsigned char MARKER = 0xFF;
const unsigned char START_OF_IMAGE = 0xD8;
const unsigned char END_OF_IMAGE = 0xD9;
const unsigned char START_OF_SCAN = 0xDA;

// Markers that stand alone, without a length: TEM and the restart markers.
bool standsAlone(unsigned char marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

} // namespace

bool JpegFileCheck::isWhole(const std::string& text)
{
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const std::size_t size = text.size();
    if (size < 4 || byte(0) != MARKER || byte(1) != START_OF_IMAGE)
        return false;

    std::size_t i = 2;
    bool inScan = false;
    while (i < size) {
        if (inScan) {
            // Entropy-coded data: a marker byte followed by zero is a data
            // byte, one followed by a restart marker or a fill byte stays in the scan.
            if (byte(i) == MARKER && i + 1 < size) {
                const unsigned char next = byte(i + 1);
                if (next == MARKER) {
                    ++i;
                    continue;
                }
                if (next != 0x00 && !standsAlone(next)) {
                    inScan = false;
                    continue;
                }
                i += 2;
                continue;
            }
            ++i;
            continue;
        }
        if (byte(i) != MARKER)
            return false;
        while (i < size && byte(i) == MARKER)
            ++i;
        if (i >= size)
            return false;
        const unsigned char marker = byte(i++);
        if (marker == END_OF_IMAGE)
            return true;
        if (standsAlone(marker))
            continue;
        if (i + 2 > size)
            return false;
        const std::size_t length = (std::size_t(byte(i)) << 8) | byte(i + 1);
        if (length < 2 || i + length > size)
            return false;
        i += length;
        inScan = marker == START_OF_SCAN;
    }
    return false;
}

bool JpegFileCheck::fileIsWhole(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return !file.bad() && isWhole(bytes);
}
