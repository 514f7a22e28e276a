#pragma once

#include <string>

// Tells whether a Wavefront OBJ mesh is safe to hand to the engine's loader.
// That loader trusts its input: a face that names a vertex it has not read
// makes it read far outside its vertex list and end the game, and a file of
// random bytes holds such a face soon enough. So the game reads a mesh file
// once itself and gives the engine only text that is a well-formed OBJ:
// known statements with numbers where numbers belong, and faces whose every
// corner names a vertex, texture coordinate and normal that exist.
class ObjFileCheck {
public:
    // True when every line is empty, a comment or a well-formed statement.
    static bool isWellFormed(const std::string& text);

    // The same for a file; false when it cannot be read.
    static bool fileIsWellFormed(const std::string& path);
};
