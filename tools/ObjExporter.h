#pragma once

#include <string>

namespace irr {
class IrrlichtDevice;
namespace scene { class IMesh; }
}

// Writes a mesh as an OBJ file with its material library beside it, through
// the engine's own OBJ writer, so the game's loader reads back exactly what
// the engine wrote.
class ObjExporter {
public:
    // fileName is a bare name such as "guns.obj"; the material library is
    // written next to it under the same name with ".mtl".
    static bool write(irr::IrrlichtDevice* device, irr::scene::IMesh* mesh, const std::string& resDir,
        const std::string& fileName);
};
