#include "ObjExporter.h"

#include <irrlicht.h>

using namespace irr;

bool ObjExporter::write(IrrlichtDevice* device, scene::IMesh* mesh, const std::string& resDir,
    const std::string& fileName)
{
    scene::ISceneManager* scene = device->getSceneManager();
    io::IFileSystem* files = device->getFileSystem();
    scene::IMeshWriter* writer = scene->createMeshWriter(scene::EMWT_OBJ);
    if (!writer)
        return false;

    // The writer names the material library after the mesh's name in the
    // mesh cache and writes it into the working directory, so the mesh is
    // cached under its file name while we work inside resDir.
    scene::SAnimatedMesh* named = new scene::SAnimatedMesh(mesh);
    scene->getMeshCache()->addMesh(fileName.c_str(), named);
    const io::path previousDir = files->getWorkingDirectory();
    bool ok = files->changeWorkingDirectoryTo(resDir.c_str());
    if (ok) {
        io::IWriteFile* file = files->createAndWriteFile(fileName.c_str());
        ok = file && writer->writeMesh(file, mesh);
        if (file)
            file->drop();
        ok = files->existFile((fileName.substr(0, fileName.rfind('.')) + ".mtl").c_str()) && ok;
        files->changeWorkingDirectoryTo(previousDir);
    }
    scene->getMeshCache()->removeMesh(named);
    named->drop();
    writer->drop();
    return ok;
}
