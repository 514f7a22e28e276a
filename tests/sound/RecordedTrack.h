#pragma once

#include <string>
#include <vector>

// A recorded WAV file held whole, for asking when things sounded and how
// loud they were over a stretch of time.
class RecordedTrack {
public:
    // One run of sound between silences.
    struct Stretch {
        double from;      // seconds into the recording
        double to;
        double peakDb;    // loudest sample, dB below full scale
    };

    bool read(const std::string& path);

    int getChannels() const { return channels; }
    int getRate() const { return rate; }
    double getSeconds() const { return rate > 0 ? static_cast<double>(frames()) / rate : 0.0; }

    // Root mean square of one channel (or, for channel -1, of all of them)
    // from one time to another, in dB below full scale; -120 for silence.
    // Channel -2 takes all of them, each sample less the one before it:
    // the treble weighed more than the bass.
    double rmsDb(double from, double to, int channel = -1) const;
    // The loudest sample in the stretch, in dB below full scale.
    double peakDb(double from, double to) const;
    // Runs of sound louder than thresholdDb (a sample's magnitude), split
    // where the sound stays below it for at least gapSeconds.
    std::vector<Stretch> stretches(double thresholdDb, double gapSeconds) const;

private:
    long frames() const { return channels > 0 ? static_cast<long>(samples.size()) / channels : 0; }

    std::vector<float> samples;  // interleaved
    int channels = 0;
    int rate = 0;
};
