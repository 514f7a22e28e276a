#pragma once

#include <string>

class MeshBuilder;

// Bakes the raid's own aircraft and its bomb, nose along +X and top along +Y
// as the jet: "bomber.obj", a heavy four-engined bomber on a long straight
// wing, twice the jet's length and three times its span; "attacker.obj", a
// short, thick-winged ground-attack jet with its two engines high on the
// rear fuselage and twin fins at the tailplane's tips; and "bomb.obj".
// Their outlines, not only their paint, tell the three kinds apart.
class RaidMeshBaker {
public:
    static bool bake(const std::string& resDir);

    static void buildBomber(MeshBuilder& builder);
    static void buildAttacker(MeshBuilder& builder);
    static void buildBomb(MeshBuilder& builder);
};
