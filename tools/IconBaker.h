#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Bakes the program's icon for desktops, "icon.png", 256 x 256: a jet in the
// ring sight over the sky and hills, on a rounded tile. The game itself never
// reads it; installing puts it into the desktop's icon theme.
class IconBaker {
public:
    static bool bake(const std::string& resDir);

    // size * size red, green, blue, alpha pixels, rows from the top; clear
    // outside the tile, so the desktop's background shows round its corners.
    static std::vector<std::uint8_t> drawIcon(int size);
};
