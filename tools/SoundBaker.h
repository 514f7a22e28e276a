#pragma once

#include <string>
#include <vector>

// Bakes the game's sounds: "gunburst.wav", one 16-round burst of the twin
// guns with its echo off the land (stereo, played unpositioned);
// "flyby.wav", a jet passing overhead (mono, played at the aircraft), loudest
// about 4 s in and falling in pitch as it goes by; and "hit.wav", the heavy
// boom of a jet hit in the air (mono, played where the jet is). All 44.1 kHz,
// 16 bit, peaking at -1 dB below full scale.
class SoundBaker {
public:
    static bool bake(const std::string& resDir);

    static const int sampleRate = 44100;

private:
    // Interleaved left/right samples.
    static std::vector<float> makeGunBurst();
    static std::vector<float> makeFlyBy();
    static std::vector<float> makeHitBoom();
};
