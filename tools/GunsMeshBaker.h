#pragma once

#include <string>

class MeshBuilder;

// Bakes "guns.obj": the twin anti-aircraft gun as the player sees it from the
// turret seat. The frame is the guns' own: elevation pivot at the origin, +Z
// along the barrels, +Y up; the player's eye rides at (0, 1.75, 0), so the
// barrels run up from the lower corners of the view towards its centre and
// nothing stands in the line of sight.
class GunsMeshBaker {
public:
    static bool bake(const std::string& resDir);

private:
    // Fills the builder with the whole gun.
    static void buildGuns(MeshBuilder& builder);
};
