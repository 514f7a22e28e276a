#pragma once

#include <string>

class MeshBuilder;

// Bakes "SU35S.obj": the target, a twin-engine, twin-fin jet fighter 22 units
// long with its nose along +X and its top along +Y, so that a jet flying
// along +X needs no rotation. Its bounding box is the game's hit box, so
// every part keeps close to the airframe.
class JetMeshBaker {
public:
    static bool bake(const std::string& resDir);

private:
    // Fills the builder with the whole aircraft.
    static void buildJet(MeshBuilder& builder);
};
