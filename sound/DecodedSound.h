#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace torvel {

// A sound file decoded whole into interleaved signed 16-bit samples. Lives
// only while the samples are handed to the audio device.
class DecodedSound {
public:
    // Reads any format libsndfile knows. On failure returns false and puts a
    // short reason for the log in error; out is left empty then.
    static bool read(const std::string& path, DecodedSound& out, std::string& error);

    // The same sound with all channels averaged into one: only mono sound can
    // be placed in the world.
    DecodedSound mixedToMono() const;

    int getChannels() const { return channels; }
    int getSampleRate() const { return sampleRate; }
    std::size_t getFrames() const { return channels > 0 ? samples.size() / channels : 0; }
    const std::vector<std::int16_t>& getSamples() const { return samples; }

    // Larger files are refused rather than risking the game's memory on a
    // damaged header: ten minutes of 48 kHz stereo.
    static constexpr std::uint64_t maxSamples = 48000ull * 2 * 600;

private:
    int channels = 0;                   // interleaved channels per frame
    int sampleRate = 0;                 // frames per second
    std::vector<std::int16_t> samples;  // interleaved frames
};

} // namespace torvel
