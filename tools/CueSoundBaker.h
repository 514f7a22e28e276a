#pragma once

#include <string>
#include <vector>

// Bakes the small sounds of working the guns, all mono, 44.1 kHz, 16 bit,
// played unpositioned beside the player: "magout.wav", the latch and the
// empty magazine sliding out and dropping (0.45 s); "magin.wav", a full one
// slid home, the latch snapping and the breech cocked (0.6 s); "click.wav",
// the dry snap of a trigger with nothing left (0.1 s). They sit well under
// the guns (peaks of -6, -4 and -9 dB below full scale), loud enough to
// be heard over a jet.
class CueSoundBaker {
public:
    static bool bake(const std::string& resDir);

    static const int sampleRate = 44100;
    static constexpr float magazineOutPeak = -6.0f;
    static constexpr float magazineInPeak = -4.0f;
    static constexpr float dryClickPeak = -9.0f;

    static std::vector<float> makeMagazineOut();
    static std::vector<float> makeMagazineIn();
    static std::vector<float> makeDryClick();
};
