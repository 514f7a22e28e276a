#pragma once

#include <string>

// Tells whether the HUD's font picture is safe to hand to the engine's
// getFont. That call first reads any file as XML, to learn whether it is a
// font description, and its XML reader trusts the text: a '<' that no '>'
// or blank follows before the end makes it read past the end of the file,
// which ended the game on a damaged font. A PNG file stops that reader at
// once, since the ninth byte of every PNG (the first of its header's
// length) is zero, before any '<' it could meet. The engine's font reader
// then takes the glyph markers from the first three pixels of the top row,
// so the picture must be at least three pixels wide; and it must be a safe
// PNG for the engine's image reader (PngFileCheck).
class FontFileCheck {
public:
    static bool isSafe(const std::string& bytes);

    // The same for a file; false when it cannot be read.
    static bool fileIsSafe(const std::string& path);
};
