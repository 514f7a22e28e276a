// The static world around the turret: sky box, fogged terrain and the sun.
// Built once while the application is constructed and never changed after.

#include "TorvelApp.h"
#include "JpegFileCheck.h"
#include "ResourceTable.h"
#include "SkyAfterScene.h"
#include "TerrainPatchCulling.h"
#include "PngFileCheck.h"
#include "TerrainVertices.h"
#include "TextureLoader.h"

#include <ICameraSceneNode.h>
#include <ISceneManager.h>
#include <ITerrainSceneNode.h>
#include <ILightSceneNode.h>
#include <IVideoDriver.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using namespace irr;

namespace {

const char* const heightMapPath = ResourceTable::path(Resource::HeightMap);

// A sky face, or none when the file is missing or not a whole JPEG: the
// engine's loader would read past the end of a file cut short. The check
// decodes the picture, so its texels are kept rather than decoded again.
video::ITexture* skyFace(video::IVideoDriver* driver, const char* path)
{
    std::ifstream file(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<unsigned char> texels;
    unsigned width = 0;
    unsigned height = 0;
    if (!file || file.bad() || !JpegFileCheck::decodeWhole(bytes, texels, width, height)) {
        std::cerr << "Sky face " << path << " is missing or damaged: left blank." << std::endl;
        return nullptr;
    }
    if (texels.empty())
        return TextureLoader::mipMapped(driver, path);
    video::IImage* image = driver->createImageFromData(video::ECF_A8R8G8B8, core::dimension2du(width, height),
                                                       texels.data(), true, false);
    return TextureLoader::mipMapped(driver, path, image);
}

}

void TorvelApp::buildWorld()
{
    // The ground's picture is read first, though the terrain only takes it
    // later: the memory its reading needs for a moment is then free again for
    // the terrain's vertices, rather than more memory touched for the first time.
    video::ITexture* ground = TextureLoader::mipMapped(driver, ResourceTable::path(Resource::DetailMap));

    // The side faces go round the horizon as front 0, right 1, back 2, left 3,
    // which is not the order the engine takes them in.
    scene::ISceneNode* sky = sceneManager->addSkyBoxSceneNode(
        skyFace(driver, ResourceTable::path(Resource::SkyTop)),
        skyFace(driver, ResourceTable::path(Resource::SkyBottom)),
        skyFace(driver, ResourceTable::path(Resource::SkyLeft)),
        skyFace(driver, ResourceTable::path(Resource::SkyRight)),
        skyFace(driver, ResourceTable::path(Resource::SkyFront)),
        skyFace(driver, ResourceTable::path(Resource::SkyBack)),
        nullptr, -1);
    // Drawn after the opaque scene, where nothing nearer stands.
    SkyAfterScene* skyLast = new SkyAfterScene(sky);
    sceneManager->setLightManager(skyLast);
    skyLast->drop();

    // Flattened to a tenth of the height map's heights, the extent as loaded.
    const core::vector3df flattening(1.0f, 0.1f, 1.0f);
    // A damaged height map never reaches the engine's image reader.
    scene::ITerrainSceneNode* terrain = !PngFileCheck::fileIsSafe(heightMapPath) ? nullptr
        : sceneManager->addTerrainSceneNode(
        heightMapPath, nullptr, -1,
        core::vector3df(0.0f, 0.0f, 0.0f), core::vector3df(0.0f, 0.0f, 0.0f),
        flattening, video::SColor(255, 255, 255, 255),
        5, scene::ETPS_17, 0, false);
    if (terrain) {
        // Centred under the turret, 10 units down. Loaded at its scale, the
        // terrain gets the vertices the engine's setScale and setPosition
        // would give it, bit for bit, in a fraction of their time.
        TerrainVertices::centreBelowOrigin(terrain, flattening, 10.0f);
        terrain->setMaterialFlag(video::EMF_FOG_ENABLE, true);
        terrain->setMaterialTexture(0, ground);
        // Only the patches in view are sent to be drawn.
        auto culling = std::make_shared<TerrainPatchCulling>(terrain);
        scene::ISceneManager* scene = sceneManager;
        skyLast->setBeforeOpaque([culling, scene] {
            if (const scene::ICameraSceneNode* camera = scene->getActiveCamera())
                culling->update(*camera);
        });
    } else {
        // The game is still playable over an empty sky; say why the ground is gone.
        std::cout << "No terrain: the height map " << heightMapPath
                  << " is missing or unreadable." << std::endl;
    }

    // Exponential fog: the density sets how fast it thickens, start and end
    // only matter to linear fog. Only the terrain has its fog flag set.
    driver->setFog(video::SColor(0, 99, 122, 193), video::EFT_FOG_EXP,
                   100.0f, 300.0f, 0.01f, false, false);

    scene::ILightSceneNode* sun = sceneManager->addLightSceneNode(
        nullptr, core::vector3df(0.0f, 0.0f, 0.0f),
        video::SColorf(1.0f, 1.0f, 1.0f, 1.0f), 100.0f, -1);
    sun->setLightType(video::ELT_DIRECTIONAL);
    sun->setRotation(core::vector3df(45.0f, 0.0f, 0.0f));
}
