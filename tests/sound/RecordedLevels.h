#pragma once

#include <string>
#include <vector>

// Loudness of a recorded WAV file, per channel, for checking what was heard.
class RecordedLevels {
public:
    // False if the file cannot be read. Only the stretch from fromSeconds to
    // toSeconds counts, when given.
    bool read(const std::string& path, double fromSeconds = 0.0, double toSeconds = -1.0);

    int getChannels() const { return static_cast<int>(rms.size()); }
    long getFrames() const { return frames; }
    int getRate() const { return rate; }
    // Root mean square over the frames where anything sounds (0..1 full scale).
    double getRms(int channel) const { return rms.at(channel); }
    double getPeak() const { return peak; }

private:
    std::vector<double> rms;  // per channel
    double peak = 0.0;        // largest absolute sample in any channel
    long frames = 0;          // length of the recording
    int rate = 0;             // frames per second
};
