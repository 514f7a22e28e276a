#pragma once

#include "NullEngine.h"

#include <cstdint>
#include <string>
#include <vector>

// Writes pixel buffers as PNG or JPEG files through the engine's own image
// writers (a null-driver device, no window), so the game reads back exactly
// what the engine itself writes. The format follows the file's extension.
class ImageSaver {
public:
    ImageSaver();

    bool isReady() const { return engine.getDevice() != nullptr; }

    // `rgb` holds width * height * 3 bytes, red first, rows from the top.
    // `quality` is the JPEG quality in 1..100 and is ignored for PNG.
    bool saveRgb(const std::string& path, unsigned width, unsigned height,
                 const std::vector<std::uint8_t>& rgb, unsigned quality = 90) const;
    // `rgba` holds width * height * 4 bytes: red, green, blue, alpha.
    bool saveRgba(const std::string& path, unsigned width, unsigned height,
                  const std::vector<std::uint8_t>& rgba) const;

private:
    NullEngine engine; // owns the image writers
};
