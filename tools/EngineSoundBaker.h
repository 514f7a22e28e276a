#pragma once

#include <string>
#include <vector>

// Bakes "engine.wav": the steady roar and whine of a jet's engines heard
// from far off, mono, 44.1 kHz, 16 bit, 4 s long, made to loop: its end
// runs into its start without a seam. The game plays it at each jet, quietly,
// for as long as the jet flies. Peaks at -3 dB below full scale.
class EngineSoundBaker {
public:
    static bool bake(const std::string& resDir);

    static const int sampleRate = 44100;
    static constexpr double loopSeconds = 4.0;

    static std::vector<float> makeEngineLoop();
};
