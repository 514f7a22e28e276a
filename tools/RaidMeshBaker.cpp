#include "RaidMeshBaker.h"

#include "BakeRegistry.h"
#include "MeshBuilder.h"
#include "NullEngine.h"
#include "ObjExporter.h"
#include "ResourceTable.h"

#include <irrlicht.h>

using namespace irr;
using core::vector3df;
using video::SColor;
using Section = MeshBuilder::Section;

namespace {

const BakeRegistry::Registration registration("raidmeshes", &RaidMeshBaker::bake);

int paint(MeshBuilder& builder, SColor colour, int specular, float shininess)
{
    // As the jet: the underside the player sees is lit by the sky's self-light.
    const SColor glow(255, colour.getRed() / 2, colour.getGreen() / 2, colour.getBlue() / 2);
    return builder.addMaterial(colour, SColor(255, specular, specular, specular), shininess, glow);
}

bool write(NullEngine& engine, void (*build)(MeshBuilder&), Resource file, const std::string& resDir)
{
    MeshBuilder builder;
    build(builder);
    scene::SMesh* mesh = builder.build();
    const bool ok = ObjExporter::write(engine.getDevice(), mesh, resDir, ResourceTable::name(file));
    mesh->drop();
    return ok;
}

} // namespace

bool RaidMeshBaker::bake(const std::string& resDir)
{
    NullEngine engine;
    if (!engine.getDevice())
        return false;
    bool ok = write(engine, &buildBomber, Resource::BomberMesh, resDir);
    ok = write(engine, &buildAttacker, Resource::AttackerMesh, resDir) && ok;
    return write(engine, &buildBomb, Resource::BombMesh, resDir) && ok;
}

void RaidMeshBaker::buildBomber(MeshBuilder& builder)
{
    // Olive drab above, a pale sky grey beneath, a glazed nose.
    const int drab = paint(builder, SColor(255, 98, 104, 72), 40, 8.0f);
    const int belly = paint(builder, SColor(255, 176, 182, 178), 40, 8.0f);
    const int glazing = paint(builder, SColor(255, 60, 76, 92), 200, 40.0f);
    const int metal = paint(builder, SColor(255, 52, 50, 48), 90, 16.0f);

    // A long round fuselage, deepest at the wing, tapering to the tail.
    builder.addLoft({glazing, drab}, {
        Section{19.0f, 0.2f, 1.2f, 1.3f, 0.1f},
        Section{16.5f, 0.3f, 2.0f, 2.2f, 0.2f},
        Section{10.0f, 0.4f, 2.3f, 2.6f, 0.3f},
        Section{0.0f, 0.4f, 2.3f, 2.7f, 0.3f},
        Section{-10.0f, 0.8f, 1.7f, 2.0f, 0.2f},
        Section{-19.0f, 1.4f, 0.7f, 0.9f, 0.1f},
    }, 20.5f, -21.0f, 0.0f, 12);

    for (float side : {-1.0f, 1.0f}) {
        // The long straight wing, barely tapered: the bomber's outline.
        builder.addPlate(drab, belly, vector3df(6.0f, 0.0f, side * 2.0f), vector3df(-3.0f, 0.0f, side * 2.0f),
            vector3df(-1.5f, 0.4f, side * 31.0f), vector3df(3.5f, 0.4f, side * 31.0f), vector3df(0, 1, 0), 0.6f,
            0.5f);
        // Two engines a wing, slung below and ahead of it.
        for (float out : {8.5f, 17.0f}) {
            builder.addLoft({metal, drab}, {
                Section{9.5f, -0.6f, 1.0f, 1.0f, 0.0f},
                Section{7.0f, -0.6f, 1.2f, 1.2f, 0.0f},
                Section{1.0f, -0.5f, 1.0f, 1.0f, 0.0f},
                Section{-3.0f, -0.4f, 0.5f, 0.5f, 0.0f},
            }, 10.0f, -4.0f, side * out, 8);
        }
        // Tailplane.
        builder.addPlate(drab, belly, vector3df(-14.5f, 1.3f, side * 0.8f), vector3df(-19.5f, 1.4f, side * 0.8f),
            vector3df(-19.0f, 1.4f, side * 9.5f), vector3df(-16.0f, 1.4f, side * 9.5f), vector3df(0, 1, 0), 0.3f,
            0.5f);
    }
    // One tall fin.
    builder.addPlate(drab, drab, vector3df(-12.0f, 2.0f, 0.0f), vector3df(-20.5f, 2.0f, 0.0f),
        vector3df(-21.0f, 9.5f, 0.0f), vector3df(-17.5f, 9.5f, 0.0f), vector3df(0, 0, 1), 0.35f, 0.5f);
}

void RaidMeshBaker::buildAttacker(MeshBuilder& builder)
{
    // A dark sea grey all over with a darker top, which reads against the sky.
    const int grey = paint(builder, SColor(255, 84, 90, 96), 50, 10.0f);
    const int dark = paint(builder, SColor(255, 58, 62, 66), 50, 10.0f);
    const int canopy = paint(builder, SColor(255, 40, 52, 66), 230, 40.0f);
    const int metal = paint(builder, SColor(255, 40, 38, 36), 110, 20.0f);

    // A short blunt fuselage with the cannon's muzzle at the nose.
    builder.addLoft({grey}, {
        Section{7.5f, 0.0f, 0.5f, 0.55f, 0.2f},
        Section{5.5f, 0.1f, 0.9f, 1.0f, 0.3f},
        Section{1.0f, 0.1f, 1.0f, 1.1f, 0.4f},
        Section{-4.0f, 0.3f, 0.7f, 0.8f, 0.3f},
        Section{-8.0f, 0.4f, 0.3f, 0.4f, 0.1f},
    }, 8.2f, -8.6f, 0.0f, 10);
    builder.addTube(metal, vector3df(8.0f, -0.2f, 0.0f), vector3df(9.6f, -0.2f, 0.0f), 0.12f, 0.1f, 6, true, true);
    builder.addLoft({canopy}, {
        Section{5.2f, 1.0f, 0.3f, 0.2f, 0.0f},
        Section{4.2f, 1.2f, 0.42f, 0.3f, 0.0f},
        Section{3.0f, 1.1f, 0.36f, 0.22f, 0.0f},
    }, 5.9f, 2.2f, 0.0f, 8);

    for (float side : {-1.0f, 1.0f}) {
        // Thick straight wing, low on the fuselage.
        builder.addPlate(dark, grey, vector3df(2.5f, -0.6f, side * 0.9f), vector3df(-1.5f, -0.6f, side * 0.9f),
            vector3df(-0.8f, -0.3f, side * 9.0f), vector3df(1.6f, -0.3f, side * 9.0f), vector3df(0, 1, 0), 0.5f,
            0.4f);
        // The two big engine pods on pylons high over the rear fuselage.
        builder.addLoft({metal, grey}, {
            Section{-2.0f, 1.6f, 0.75f, 0.75f, 0.0f},
            Section{-3.0f, 1.6f, 0.8f, 0.8f, 0.0f},
            Section{-5.5f, 1.6f, 0.6f, 0.6f, 0.0f},
        }, -1.8f, -6.2f, side * 1.3f, 8);
        // Tailplane with a fin standing at each tip.
        builder.addPlate(dark, grey, vector3df(-6.0f, 0.5f, side * 0.3f), vector3df(-8.2f, 0.5f, side * 0.3f),
            vector3df(-8.2f, 0.5f, side * 3.2f), vector3df(-6.6f, 0.5f, side * 3.2f), vector3df(0, 1, 0), 0.2f,
            0.5f);
        builder.addPlate(dark, dark, vector3df(-6.4f, -0.6f, side * 3.2f), vector3df(-8.3f, -0.6f, side * 3.2f),
            vector3df(-8.4f, 2.4f, side * 3.2f), vector3df(-7.2f, 2.4f, side * 3.2f), vector3df(0, 0, 1), 0.15f,
            0.4f);
    }
}

void RaidMeshBaker::buildBomb(MeshBuilder& builder)
{
    // Large enough to be seen falling from a few hundred units: a dark body
    // three units long with a cross of fins at its tail.
    const int body = paint(builder, SColor(255, 64, 70, 52), 60, 12.0f);
    const int fins = paint(builder, SColor(255, 90, 94, 80), 40, 8.0f);
    builder.addLoft({body}, {
        Section{1.4f, 0.0f, 0.35f, 0.35f, 0.0f},
        Section{0.6f, 0.0f, 0.5f, 0.5f, 0.0f},
        Section{-0.6f, 0.0f, 0.45f, 0.45f, 0.0f},
        Section{-1.4f, 0.0f, 0.2f, 0.2f, 0.0f},
    }, 1.8f, -1.6f, 0.0f, 8);
    builder.addPlate(fins, fins, vector3df(-0.8f, 0.0f, 0.0f), vector3df(-1.7f, 0.0f, 0.0f),
        vector3df(-1.7f, 0.0f, 0.8f), vector3df(-1.2f, 0.0f, 0.8f), vector3df(0, 1, 0), 0.05f, 0.0f);
    builder.addPlate(fins, fins, vector3df(-0.8f, 0.0f, 0.0f), vector3df(-1.7f, 0.0f, 0.0f),
        vector3df(-1.7f, 0.0f, -0.8f), vector3df(-1.2f, 0.0f, -0.8f), vector3df(0, 1, 0), 0.05f, 0.0f);
    builder.addPlate(fins, fins, vector3df(-0.8f, 0.0f, 0.0f), vector3df(-1.7f, 0.0f, 0.0f),
        vector3df(-1.7f, 0.8f, 0.0f), vector3df(-1.2f, 0.8f, 0.0f), vector3df(0, 0, 1), 0.05f, 0.0f);
    builder.addPlate(fins, fins, vector3df(-0.8f, 0.0f, 0.0f), vector3df(-1.7f, 0.0f, 0.0f),
        vector3df(-1.7f, -0.8f, 0.0f), vector3df(-1.2f, -0.8f, 0.0f), vector3df(0, 0, 1), 0.05f, 0.0f);
}
