#include "JetMeshBaker.h"

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

const BakeRegistry::Registration registration("jet", &JetMeshBaker::bake);

} // namespace

bool JetMeshBaker::bake(const std::string& resDir)
{
    NullEngine engine;
    if (!engine.getDevice())
        return false;
    MeshBuilder builder;
    buildJet(builder);
    scene::SMesh* mesh = builder.build();
    const bool ok = ObjExporter::write(engine.getDevice(), mesh, resDir, ResourceTable::name(Resource::JetMesh));
    mesh->drop();
    return ok;
}

void JetMeshBaker::buildJet(MeshBuilder& builder)
{
    // Air-superiority greys: a light blue-grey body, darker blue-grey on top
    // of the flying surfaces and pale grey beneath them, a pale radome, a
    // tinted canopy and heat-darkened nozzles.
    // The player mostly sees the underside, which the sun does not reach: the
    // self-light stands in for the light the sky and the ground throw up.
    auto paint = [&](SColor colour, int specular, float shininess) {
        const SColor glow(255, colour.getRed() / 2, colour.getGreen() / 2, colour.getBlue() / 2);
        return builder.addMaterial(colour, SColor(255, specular, specular, specular), shininess, glow);
    };
    const int body = paint(SColor(255, 168, 178, 186), 60, 10.0f);
    const int surfaces = paint(SColor(255, 112, 126, 140), 50, 10.0f);
    const int underside = paint(SColor(255, 190, 196, 200), 50, 10.0f);
    const int radome = paint(SColor(255, 206, 208, 204), 60, 12.0f);
    const int canopy = paint(SColor(255, 40, 52, 66), 230, 40.0f);
    const int metal = paint(SColor(255, 62, 58, 54), 110, 20.0f);
    const int intake = paint(SColor(255, 24, 24, 26), 0, 0.0f);

    // Sides round each body: as few as keep the outline of a jet passing
    // fifty units overhead, about 230 pixels long. The jet is mostly seen a
    // few dozen pixels long, where every triangle costs a software renderer
    // as much to set up as a large one.

    // Forward fuselage and spine, from the radome back to the tail sting.
    builder.addLoft({radome, radome, body}, {
        Section{10.3f, 0.10f, 0.26f, 0.26f, 0.0f},
        Section{9.0f, 0.12f, 0.48f, 0.46f, 0.0f},
        Section{7.5f, 0.15f, 0.62f, 0.60f, 0.05f},
        Section{6.0f, 0.12f, 0.72f, 0.66f, 0.2f},
        Section{4.5f, 0.06f, 0.84f, 0.68f, 0.35f},
        Section{3.0f, 0.02f, 0.98f, 0.64f, 0.5f},
        Section{0.0f, 0.02f, 1.02f, 0.58f, 0.6f},
        Section{-4.0f, 0.06f, 0.92f, 0.52f, 0.6f},
        Section{-7.5f, 0.06f, 0.55f, 0.40f, 0.4f},
        Section{-10.0f, 0.08f, 0.26f, 0.24f, 0.1f},
    }, 11.0f, -11.0f, 0.0f, 14);

    // The flat centre body that blends the wing roots and the leading-edge
    // extensions into the fuselage.
    builder.addLoft({body}, {
        Section{5.6f, 0.0f, 0.85f, 0.16f, 0.3f},
        Section{3.6f, 0.0f, 1.70f, 0.22f, 0.3f},
        Section{1.0f, 0.0f, 2.30f, 0.25f, 0.3f},
        Section{-3.0f, 0.0f, 2.40f, 0.25f, 0.3f},
        Section{-6.0f, 0.0f, 2.20f, 0.22f, 0.3f},
        Section{-8.0f, 0.0f, 1.90f, 0.18f, 0.3f},
    }, 7.2f, -8.8f, 0.0f, 10);

    // Canopy bubble over the cockpit.
    builder.addLoft({canopy}, {
        Section{7.4f, 0.72f, 0.26f, 0.14f, 0.0f},
        Section{6.4f, 0.80f, 0.36f, 0.26f, 0.0f},
        Section{5.2f, 0.78f, 0.36f, 0.24f, 0.0f},
        Section{4.2f, 0.70f, 0.28f, 0.14f, 0.0f},
    }, 8.3f, 3.3f, 0.0f, 10);

    for (float side : {-1.0f, 1.0f}) {
        // Engine nacelle: a squared intake mouth (dark), round towards the nozzle.
        builder.addLoft({intake, body}, {
            Section{3.6f, -0.45f, 0.44f, 0.44f, 0.8f},
            Section{2.0f, -0.45f, 0.48f, 0.48f, 0.6f},
            Section{-3.0f, -0.42f, 0.50f, 0.50f, 0.3f},
            Section{-8.0f, -0.40f, 0.48f, 0.48f, 0.1f},
            Section{-9.6f, -0.40f, 0.44f, 0.44f, 0.0f},
        }, 3.7f, -9.7f, side * 1.25f, 10);
        builder.addTube(metal, vector3df(-9.5f, -0.40f, side * 1.25f), vector3df(-10.6f, -0.40f, side * 1.25f),
            0.44f, 0.38f, 10, false, true);

        // Swept wing with its tip launch rail.
        builder.addPlate(surfaces, underside, vector3df(1.0f, 0.0f, side * 2.1f),
            vector3df(-5.0f, 0.0f, side * 2.1f), vector3df(-5.4f, 0.0f, side * 7.55f),
            vector3df(-3.6f, 0.0f, side * 7.55f), vector3df(0, 1, 0), 0.24f, 0.6f);
        builder.addTube(metal, vector3df(-2.9f, 0.0f, side * 7.62f), vector3df(-5.9f, 0.0f, side * 7.62f), 0.07f,
            0.07f, 6, true, true);

        // All-moving tailplane.
        builder.addPlate(surfaces, underside, vector3df(-7.0f, -0.2f, side * 1.8f),
            vector3df(-9.9f, -0.2f, side * 1.8f), vector3df(-10.4f, -0.2f, side * 5.0f),
            vector3df(-9.0f, -0.2f, side * 5.0f), vector3df(0, 1, 0), 0.12f, 0.5f);

        // Fin above the nacelle and the small ventral fin below it, the same
        // paint on both sides.
        builder.addPlate(surfaces, surfaces, vector3df(-5.0f, 0.1f, side * 1.55f),
            vector3df(-9.3f, 0.1f, side * 1.55f), vector3df(-9.7f, 3.4f, side * 1.55f),
            vector3df(-8.1f, 3.4f, side * 1.55f), vector3df(0, 0, 1), 0.14f, 0.5f);
        builder.addPlate(underside, underside, vector3df(-5.2f, -0.85f, side * 1.25f),
            vector3df(-7.2f, -0.85f, side * 1.25f), vector3df(-7.5f, -1.45f, side * 1.25f),
            vector3df(-6.6f, -1.45f, side * 1.25f), vector3df(0, 0, 1), 0.08f, 0.3f);
    }
}
