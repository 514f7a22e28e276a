#pragma once

#include <string>
#include <vector>

// Writes 16-bit PCM WAV files through libsndfile. Samples come as floats in
// -1..1, interleaved when there is more than one channel; the conversion to
// 16 bit is our own (rounded, clamped), so the bytes depend on nothing else.
class WavWriter {
public:
    static bool write(const std::string& path, int channels, int sampleRate, const std::vector<float>& samples);

    // Scales the samples so that the loudest one sits at peakDecibels below
    // full scale (a negative number of dB).
    static void normalise(std::vector<float>& samples, float peakDecibels);
};
