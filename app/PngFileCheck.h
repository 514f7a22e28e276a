#pragma once

#include <cstddef>
#include <string>

// Tells whether a file named as a PNG picture is safe to hand to the
// engine's image reader. That reader tries every picture format it knows on
// a file its PNG reader refuses, each judged by a byte or two: a damaged
// .png file starting with 0x0A went to its PCX reader, which took a negative
// size from it and asked for more memory than there is, ending the game. A
// file that starts with the PNG signature is refused by each of the others.
// Its header must also give sides of 1 to maxSide pixels: the engine counts
// a picture's bytes in 32 bits, which a larger one would overflow. And every
// chunk must lie within the file, up to the end chunk: a 108-byte file whose
// data chunk claimed 800 MB made the engine's PNG reader take 1.9 GB.
class PngFileCheck {
public:
    // The largest of the game's pictures is 2048 pixels a side.
    static constexpr unsigned long maxSide = 8192;
    // The signature, then the header chunk's length, type, width and height.
    static constexpr std::size_t headerSize = 24;

    // Looks at the first headerSize bytes.
    static bool isSafe(const std::string& bytes);
    // The same for a file, and its chunks; false when it cannot be read.
    static bool fileIsSafe(const std::string& path);
    // The width the header gives; 0 for bytes that are not a PNG's.
    static unsigned long widthOf(const std::string& bytes);
};
