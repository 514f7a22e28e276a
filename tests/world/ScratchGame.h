#pragma once

#include <irrTypes.h>

#include <string>

// A throw-away game directory for tests: an empty bin/ that becomes the
// working directory and a res/ beside it, filled with small resources of the
// test's own making. The guns mesh is always there, since without it the
// application stops before it builds the world.
class ScratchGame {
public:
    ScratchGame();
    ~ScratchGame();

    // A square grey height map whose brightness rises from low at the left
    // edge to high at the right edge.
    void writeHeightMap(irr::u32 size, irr::u8 low, irr::u8 high) const;
    // A plain image of one colour; the format follows the file's ending.
    void writeImage(const std::string& name, irr::u32 width, irr::u32 height,
                    irr::u32 argb) const;
    // A bitmap font in the engine's layout: one white block per character
    // from the blank up to the underscore, each block a little wider than
    // the one before.
    void writeFont(const std::string& name) const;
    void writeFile(const std::string& name, const std::string& content) const;

private:
    ScratchGame(const ScratchGame&) = delete;
    ScratchGame& operator=(const ScratchGame&) = delete;

    std::string root;        // the temporary directory holding bin/ and res/
    std::string previousDir; // working directory to return to
};
