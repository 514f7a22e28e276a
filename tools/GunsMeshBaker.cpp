#include "GunsMeshBaker.h"

#include "BakeRegistry.h"
#include "MeshBuilder.h"
#include "NullEngine.h"
#include "ObjExporter.h"
#include "ResourceTable.h"

#include <irrlicht.h>

using namespace irr;
using core::vector3df;
using video::SColor;

namespace {

const BakeRegistry::Registration registration("guns", &GunsMeshBaker::bake);

// Where each barrel lies: its axis height and the muzzle face.
const float barrelX = 0.14f;
const float barrelY = 1.5f;
const float muzzleZ = 1.85f;

} // namespace

bool GunsMeshBaker::bake(const std::string& resDir)
{
    NullEngine engine;
    if (!engine.getDevice())
        return false;
    MeshBuilder builder;
    buildGuns(builder);
    scene::SMesh* mesh = builder.build();
    const bool ok = ObjExporter::write(engine.getDevice(), mesh, resDir, ResourceTable::name(Resource::GunsMesh));
    mesh->drop();
    return ok;
}

void GunsMeshBaker::buildGuns(MeshBuilder& builder)
{
    // Olive service paint on the mounting, blued steel on the barrels. The
    // scene has no ambient light, and aimed into the sun the player sees only
    // the shadowed sides: the self-light keeps them readable then.
    auto paint = [&](SColor colour, int specular, float shininess) {
        const SColor glow(255, colour.getRed() / 2, colour.getGreen() / 2, colour.getBlue() / 2);
        return builder.addMaterial(colour, SColor(255, specular, specular, specular), shininess, glow);
    };
    const int olive = paint(SColor(255, 96, 104, 72), 40, 8.0f);
    const int darkOlive = paint(SColor(255, 64, 70, 50), 30, 6.0f);
    const int steel = paint(SColor(255, 86, 90, 96), 150, 24.0f);
    const int blackened = paint(SColor(255, 44, 44, 46), 90, 16.0f);

    for (float side : {-1.0f, 1.0f}) {
        const float x = side * barrelX;
        // Barrel, tapering to the muzzle brake.
        builder.addTube(steel, vector3df(x, barrelY, 0.5f), vector3df(x, barrelY, 1.70f), 0.034f, 0.028f, 18, false,
            false);
        // Recoil sleeve where the barrel leaves the breech.
        builder.addTube(darkOlive, vector3df(x, barrelY, 0.05f), vector3df(x, barrelY, 0.56f), 0.056f, 0.052f, 18,
            true, true);
        // Clamp rings along the barrel.
        for (float z : {0.82f, 1.18f})
            builder.addTube(blackened, vector3df(x, barrelY, z), vector3df(x, barrelY, z + 0.035f), 0.040f, 0.040f,
                18, true, true);
        // Muzzle brake: a stout sleeve with a ported collar, open end forward.
        builder.addTube(blackened, vector3df(x, barrelY, 1.68f), vector3df(x, barrelY, 1.76f), 0.046f, 0.046f, 18,
            true, false);
        builder.addTube(blackened, vector3df(x, barrelY, 1.76f), vector3df(x, barrelY, 1.79f), 0.038f, 0.038f, 18,
            false, false);
        builder.addTube(blackened, vector3df(x, barrelY, 1.79f), vector3df(x, barrelY, muzzleZ), 0.046f, 0.044f, 18,
            false, true);
        // Gas cylinder under the barrel, tied to it by the rear clamp.
        builder.addTube(steel, vector3df(x, barrelY - 0.068f, 0.30f), vector3df(x, barrelY - 0.068f, 1.20f),
            0.016f, 0.016f, 10, true, true);
        builder.addBox(blackened, vector3df(x, barrelY - 0.04f, 1.20f), vector3df(0.02f, 0.035f, 0.018f));

        // Breech casing behind the sleeve, with the cocking rail on top.
        builder.addBox(olive, vector3df(x, barrelY, -0.26f), vector3df(0.075f, 0.09f, 0.34f));
        builder.addBox(darkOlive, vector3df(x, barrelY + 0.1f, -0.30f), vector3df(0.03f, 0.012f, 0.26f));
        // Ammunition feed on the outer side, its clip guide rising above it.
        builder.addBox(olive, vector3df(side * 0.28f, barrelY + 0.01f, -0.22f), vector3df(0.065f, 0.11f, 0.24f));
        builder.addBox(darkOlive, vector3df(side * 0.29f, barrelY + 0.17f, -0.24f), vector3df(0.045f, 0.05f, 0.17f),
            vector3df(-8.0f, 0, 0));

        // Side plates of the upper carriage, from the trunnion up to the cradle.
        builder.addBox(olive, vector3df(side * 0.40f, 0.68f, -0.08f), vector3df(0.03f, 0.74f, 0.22f));
        builder.addBox(darkOlive, vector3df(side * 0.40f, 1.30f, -0.08f), vector3df(0.045f, 0.06f, 0.26f));
        // Elevation arc on the left plate, the handwheel shaft on the right.
        if (side < 0)
            builder.addTube(darkOlive, vector3df(-0.45f, 0.55f, -0.35f), vector3df(-0.45f, 0.55f, 0.20f), 0.07f,
                0.07f, 12, true, true);
        else
            builder.addTube(steel, vector3df(0.43f, 0.9f, -0.30f), vector3df(0.62f, 0.9f, -0.30f), 0.02f, 0.02f, 8,
                true, true);
    }
    // Handwheel at the end of its shaft.
    builder.addTube(blackened, vector3df(0.62f, 0.9f, -0.30f), vector3df(0.66f, 0.9f, -0.30f), 0.14f, 0.14f, 20,
        true, true);

    // Cradle carrying both guns, with a cross beam to the side plates.
    builder.addBox(olive, vector3df(0, barrelY - 0.15f, -0.12f), vector3df(0.26f, 0.06f, 0.46f));
    builder.addBox(darkOlive, vector3df(0, 1.26f, -0.08f), vector3df(0.43f, 0.035f, 0.12f));
    // Trunnion through the pivot.
    builder.addTube(steel, vector3df(-0.48f, 0, 0), vector3df(0.48f, 0, 0), 0.09f, 0.09f, 16, true, true);
    // Upper carriage around the trunnion.
    builder.addBox(olive, vector3df(0, -0.02f, -0.06f), vector3df(0.36f, 0.17f, 0.30f));

    // Base below the pivot: the turntable and its ring.
    builder.addTube(darkOlive, vector3df(0, -0.19f, 0), vector3df(0, -0.55f, 0), 0.82f, 0.86f, 32, true, true);
    builder.addTube(olive, vector3df(0, -0.55f, 0), vector3df(0, -0.62f, 0), 1.02f, 1.02f, 32, true, true);
}
