#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Bakes the game's sprites: the ring sight "crosshair.png", the muzzle flash
// "mflash.png", the smoke puffs "smoke.png" and "smoke1.png" and the fireball
// of a hit "fireball.png". The flash and the puffs are drawn with an
// alpha-tested material that keeps a pixel only above half alpha, so their
// alpha crosses one half exactly on the outline and rises steeply there:
// filtered, the cut edge stays smooth and clean. The fireball is blended and
// faded as it grows, so its edge is soft.
class SpriteBaker {
public:
    static bool bake(const std::string& resDir);

private:
    // Each returns size * size red, green, blue, alpha pixels, rows from the top.
    static std::vector<std::uint8_t> drawCrosshair(int size);
    static std::vector<std::uint8_t> drawMuzzleFlash(int size);
    // puffNumber picks one of several differently shaped puffs; dark gives
    // the sootier variant.
    static std::vector<std::uint8_t> drawSmokePuff(int size, std::uint32_t puffNumber, bool dark);
    static std::vector<std::uint8_t> drawFireball(int size);
};
