#pragma once

#include <string>
#include <vector>

// Bakes the raid's sounds, all mono (each is placed where it comes from),
// 44.1 kHz, 16 bit: "bomber.wav", eight seconds of four piston engines
// beating against each other, played again while the bomber flies;
// "whistle.wav", a bomb's whistle falling in pitch; "bombburst.wav", a bomb
// going off on the ground near the gun; "cannon.wav", a short burst of the
// attacker's cannon; "impact.wav", the crash of a hit on the gun position.
class RaidSoundBaker {
public:
    static bool bake(const std::string& resDir);

    static std::vector<float> makeBomberEngines();
    static std::vector<float> makeWhistle();
    static std::vector<float> makeBombBurst();
    static std::vector<float> makeCannon();
    static std::vector<float> makeImpact();
};
