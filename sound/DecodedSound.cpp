#include "DecodedSound.h"

#include <sndfile.h>

namespace torvel {

bool DecodedSound::read(const std::string& path, DecodedSound& out, std::string& error) {
    out = DecodedSound();
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        error = sf_strerror(nullptr);
        return false;
    }
    bool ok = false;
    if (info.channels <= 0 || info.samplerate <= 0) {
        error = "no channels or no sample rate";
    } else if (info.frames <= 0) {
        error = "holds no samples";
    } else if (static_cast<std::uint64_t>(info.frames) * static_cast<std::uint64_t>(info.channels) > maxSamples) {
        error = "too long to hold in memory";
    } else {
        // Float files louder than full scale must clip, not wrap around.
        sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
        out.samples.resize(static_cast<std::size_t>(info.frames) * info.channels);
        const sf_count_t got = sf_readf_short(file, out.samples.data(), info.frames);
        if (got <= 0) {
            error = "samples cannot be decoded";
            out.samples.clear();
        } else {
            // A truncated file gives fewer frames than its header promises: keep what is there.
            out.samples.resize(static_cast<std::size_t>(got) * info.channels);
            out.samples.shrink_to_fit();
            out.channels = info.channels;
            out.sampleRate = info.samplerate;
            ok = true;
        }
    }
    sf_close(file);
    return ok;
}

DecodedSound DecodedSound::mixedToMono() const {
    DecodedSound mono;
    mono.channels = channels > 0 ? 1 : 0;
    mono.sampleRate = sampleRate;
    if (channels <= 0)
        return mono;
    const std::size_t frames = getFrames();
    mono.samples.resize(frames);
    for (std::size_t frame = 0; frame < frames; ++frame) {
        long sum = 0;
        for (int channel = 0; channel < channels; ++channel)
            sum += samples[frame * channels + channel];
        mono.samples[frame] = static_cast<std::int16_t>(sum / channels);
    }
    return mono;
}

} // namespace torvel
