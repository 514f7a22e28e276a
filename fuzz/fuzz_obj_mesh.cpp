// A mesh as the game loads the jet and the guns: the input is an OBJ file,
// then a NUL byte, then the material file it may name as "mesh.mtl" (the
// check rejects a NUL in the OBJ text, so the split is never ambiguous). The
// OBJ goes through the game's check, and only what passes reaches the
// engine's loader, which reads the material file and the textures it names;
// the mesh is then walked as the turret and the jets use it.
#include "FuzzEngine.h"
#include "ObjFileCheck.h"
#include "ScratchFolder.h"

#include <irrlicht.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace irr;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ScratchFolder folder;
    IrrlichtDevice* device = FuzzEngine::device();
    scene::ISceneManager* scenes = device->getSceneManager();

    const void* nul = std::memchr(data, 0, size);
    const std::size_t objSize = nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - data) : size;
    folder.clear();
    const std::string objPath = folder.write("mesh.obj", data, objSize);
    if (nul)
        folder.write("mesh.mtl", data + objSize + 1, size - objSize - 1);

    const io::path path = objPath.c_str();
    if (!device->getFileSystem()->existFile(path) || !ObjFileCheck::fileIsWellFormed(objPath))
        return 0;
    scene::IAnimatedMesh* mesh = scenes->getMesh(path);
    if (mesh) {
        for (u32 i = 0; i < mesh->getMeshBufferCount(); ++i) {
            const scene::IMeshBuffer* buffer = mesh->getMeshBuffer(i);
            const u16* indices = buffer->getIndices();
            for (u32 k = 0; k < buffer->getIndexCount(); ++k)
                if (indices[k] >= buffer->getVertexCount())
                    std::abort();
            (void)buffer->getBoundingBox();
            (void)buffer->getMaterial().getTexture(0);
        }
        scenes->getMeshCache()->removeMesh(mesh);
    }
    device->getVideoDriver()->removeAllTextures();
    return 0;
}
