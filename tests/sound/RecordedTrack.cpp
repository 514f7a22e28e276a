#include "RecordedTrack.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

namespace {
double toDb(double value)
{
    return value > 1e-6 ? 20.0 * std::log10(value) : -120.0;
}
} // namespace

bool RecordedTrack::read(const std::string& path)
{
    SF_INFO info{};
    SNDFILE* in = sf_open(path.c_str(), SFM_READ, &info);
    if (!in)
        return false;
    samples.resize(static_cast<std::size_t>(info.frames) * info.channels);
    const sf_count_t got = sf_readf_float(in, samples.data(), info.frames);
    sf_close(in);
    samples.resize(static_cast<std::size_t>(got) * info.channels);
    channels = info.channels;
    rate = info.samplerate;
    return true;
}

double RecordedTrack::rmsDb(double from, double to, int channel) const
{
    const long first = std::max(0L, static_cast<long>(from * rate));
    const long end = std::min(frames(), static_cast<long>(to * rate));
    double sum = 0.0;
    long count = 0;
    for (long f = first; f < end; ++f)
        for (int c = 0; c < channels; ++c) {
            if (channel >= 0 && c != channel)
                continue;
            double v = samples[static_cast<std::size_t>(f * channels + c)];
            if (channel == -2)
                v -= f > 0 ? samples[static_cast<std::size_t>((f - 1) * channels + c)] : 0.0f;
            sum += v * v;
            ++count;
        }
    return count > 0 ? toDb(std::sqrt(sum / count)) : -120.0;
}

double RecordedTrack::peakDb(double from, double to) const
{
    const long first = std::max(0L, static_cast<long>(from * rate));
    const long end = std::min(frames(), static_cast<long>(to * rate));
    double peak = 0.0;
    for (long f = first; f < end; ++f)
        for (int c = 0; c < channels; ++c)
            peak = std::max(peak, std::fabs(static_cast<double>(samples[static_cast<std::size_t>(f * channels + c)])));
    return toDb(peak);
}

std::vector<RecordedTrack::Stretch> RecordedTrack::stretches(double thresholdDb, double gapSeconds) const
{
    const double threshold = std::pow(10.0, thresholdDb / 20.0);
    const long gap = static_cast<long>(gapSeconds * rate);
    std::vector<Stretch> found;
    long start = -1, last = -1;
    double peak = 0.0;
    auto close = [&] {
        found.push_back({static_cast<double>(start) / rate, static_cast<double>(last + 1) / rate, toDb(peak)});
        start = -1;
        peak = 0.0;
    };
    for (long f = 0; f < frames(); ++f) {
        double loudest = 0.0;
        for (int c = 0; c < channels; ++c)
            loudest = std::max(loudest, std::fabs(static_cast<double>(samples[static_cast<std::size_t>(f * channels + c)])));
        if (loudest >= threshold) {
            if (start >= 0 && f - last > gap)
                close();
            if (start < 0)
                start = f;
            last = f;
            peak = std::max(peak, loudest);
        }
    }
    if (start >= 0)
        close();
    return found;
}
