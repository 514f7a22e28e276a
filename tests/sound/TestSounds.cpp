#include "TestSounds.h"

#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

TestSounds::TestSounds() {
    char pattern[] = "/tmp/torvel-sound-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("no temporary folder");
    dir = pattern;
}

TestSounds::~TestSounds() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

std::string TestSounds::tone(const std::string& name, int channels, double seconds, double left, double right,
                             int rate) {
    const std::string file = path(name);
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* out = sf_open(file.c_str(), SFM_WRITE, &info);
    if (!out)
        throw std::runtime_error("cannot write " + file);
    const int frames = static_cast<int>(seconds * rate);
    std::vector<short> samples(static_cast<std::size_t>(frames) * channels);
    for (int i = 0; i < frames; ++i) {
        const double wave = std::sin(2.0 * M_PI * 440.0 * i / rate);
        for (int c = 0; c < channels; ++c)
            samples[static_cast<std::size_t>(i) * channels + c] =
                static_cast<short>(32767.0 * wave * (c == 1 ? right : left));
    }
    sf_writef_short(out, samples.data(), frames);
    sf_close(out);
    return file;
}

std::string TestSounds::corrupt(const std::string& name) {
    const std::string file = path(name);
    std::FILE* out = std::fopen(file.c_str(), "wb");
    std::fputs("RIFF\x24\x10\x00\x00WAVEjunk and more junk that is no sound at all", out);
    std::fclose(out);
    return file;
}

std::string TestSounds::truncated(const std::string& name) {
    const std::string file = tone(name, 1, 1.0, 0.5);
    // Keep the header (which still promises a second of sound) and 100 frames.
    std::filesystem::resize_file(file, 44 + 200);
    return file;
}
