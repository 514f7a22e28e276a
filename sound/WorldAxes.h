#pragma once

namespace torvel {

// The game's world is left-handed (+X right, +Y up, +Z ahead at the start),
// OpenAL's is right-handed. Mirroring Z carries one into the other, so that a
// sound on the player's right is heard on the right whichever way the
// listener faces. Callers pass world coordinates; only the layer converts.
class WorldAxes {
public:
    static void toOpenAl(float x, float y, float z, float out[3])
    {
        out[0] = x;
        out[1] = y;
        out[2] = -z;
    }
};

} // namespace torvel
