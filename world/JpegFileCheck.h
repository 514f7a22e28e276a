#pragma once

#include <string>
#include <vector>

// Tells whether a JPEG file is whole before the engine's image loader reads
// it. That loader hands the file to the JPEG decoder from memory and, when
// the data ends early or a segment claims more bytes than there are, lets
// the decoder read on past the end of its buffer. A file cut short (an
// interrupted copy) did exactly that and ended the game. A JPEG is whole
// here when it starts with its start marker, every segment fits within the
// file, the end marker follows the last scan, and the JPEG library decodes
// it without an error: the engine's reader loses the picture's memory when
// the decoder stops on one (a second scan where one was expected, a table
// that is not there) after the picture has been allocated. Nor may it be
// wider or higher than maxSide: the engine's reader keeps the length of a
// row in 16 bits, and the rows of a picture 49928 pixels wide overran the
// memory it had allocated for them.
class JpegFileCheck {
public:
    // The sky faces are 1024 pixels a side; four bytes a pixel, a row of
    // this many stays within 16 bits.
    static constexpr unsigned maxSide = 8192;

    static bool isWhole(const std::string& bytes);

    // The same check, with the picture decoded at full size as it goes:
    // width by height texels in the engine's A8R8G8B8 order (four bytes
    // each, blue first), the very texels its own reader would give. So a
    // picture that is to be shown is decoded once, not checked and then
    // decoded again. A CMYK picture is checked only: texels is left empty,
    // for the engine's reader to convert as it does.
    static bool decodeWhole(const std::string& bytes, std::vector<unsigned char>& texels, unsigned& width,
                            unsigned& height);

    // The same for a file; false when it cannot be read.
    static bool fileIsWhole(const std::string& path);
};
