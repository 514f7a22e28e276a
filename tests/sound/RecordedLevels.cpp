#include "RecordedLevels.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

bool RecordedLevels::read(const std::string& path, double fromSeconds, double toSeconds) {
    SF_INFO info{};
    SNDFILE* in = sf_open(path.c_str(), SFM_READ, &info);
    if (!in)
        return false;
    std::vector<float> samples(static_cast<std::size_t>(info.frames) * info.channels);
    frames = static_cast<long>(sf_readf_float(in, samples.data(), info.frames));
    sf_close(in);
    rate = info.samplerate;
    rms.assign(info.channels, 0.0);
    peak = 0.0;
    // Only frames where something sounds count, so the silence before and
    // after a short tone does not water the level down.
    std::vector<double> sums(info.channels, 0.0);
    long sounding = 0;
    const long first = static_cast<long>(fromSeconds * rate);
    const long end = toSeconds < 0.0 ? frames : std::min(frames, static_cast<long>(toSeconds * rate));
    for (long f = std::max(0L, first); f < end; ++f) {
        bool any = false;
        for (int c = 0; c < info.channels; ++c)
            any = any || std::fabs(samples[f * info.channels + c]) > 1e-4f;
        if (!any)
            continue;
        ++sounding;
        for (int c = 0; c < info.channels; ++c) {
            const double v = samples[f * info.channels + c];
            sums[c] += v * v;
            peak = std::max(peak, std::fabs(v));
        }
    }
    for (int c = 0; c < info.channels; ++c)
        rms[c] = sounding > 0 ? std::sqrt(sums[c] / sounding) : 0.0;
    return true;
}
