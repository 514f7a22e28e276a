#include "WavWriter.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

bool WavWriter::write(const std::string& path, int channels, int sampleRate, const std::vector<float>& samples)
{
    SF_INFO info = {};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), sf_strerror(nullptr));
        return false;
    }
    std::vector<short> pcm(samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        pcm[i] = static_cast<short>(std::lround(std::clamp(samples[i], -1.0f, 1.0f) * 32767.0f));
    const sf_count_t written = sf_write_short(file, pcm.data(), static_cast<sf_count_t>(pcm.size()));
    const bool closed = sf_close(file) == 0;
    if (written != static_cast<sf_count_t>(pcm.size()) || !closed) {
        std::fprintf(stderr, "cannot write %s: disk full or not writable\n", path.c_str());
        return false;
    }
    return true;
}

void WavWriter::normalise(std::vector<float>& samples, float peakDecibels)
{
    float peak = 0;
    for (float s : samples)
        peak = std::max(peak, std::fabs(s));
    if (peak <= 0)
        return;
    const float gain = std::pow(10.0f, peakDecibels / 20.0f) / peak;
    for (float& s : samples)
        s *= gain;
}
