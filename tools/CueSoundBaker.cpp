#include "CueSoundBaker.h"

#include "BakeRegistry.h"
#include "Biquad.h"
#include "NoiseSource.h"
#include "ResourceTable.h"
#include "WavWriter.h"

#include <algorithm>
#include <cmath>

namespace {

const BakeRegistry::Registration registration("gun cues", &CueSoundBaker::bake);

const double pi = 3.14159265358979323846;

// A hard metal-on-metal strike at the given time: a bright snap of noise and
// the ring of the struck part at its own pitch, added into the track.
void addStrike(std::vector<float>& track, double at, float loudness, double ring, double ringTime,
    NoiseSource& noise)
{
    const double rate = CueSoundBaker::sampleRate;
    Biquad snap(Biquad::Kind::HighPass, 2500.0, 0.7, rate);
    Biquad body(Biquad::Kind::BandPass, ring, 6.0, rate);
    const int start = static_cast<int>(at * rate);
    const int length = static_cast<int>((ringTime * 6.0 + 0.01) * rate);
    for (int i = 0; i < length && start + i < static_cast<int>(track.size()); ++i) {
        const double t = i / rate;
        const float white = noise.next();
        const float crack = snap.process(white) * static_cast<float>(std::exp(-t / 0.0015));
        const float tone = static_cast<float>(std::sin(2.0 * pi * ring * t) * std::exp(-t / ringTime));
        const float rattle = body.process(white) * static_cast<float>(std::exp(-t / (ringTime * 0.7)));
        track[start + i] += loudness * (1.2f * crack + 0.35f * tone + 2.0f * rattle);
    }
}

// Metal sliding along metal from one time to another: band-limited noise
// that swells and sags, its pitch gliding from one band to the next.
void addSlide(std::vector<float>& track, double from, double to, double lowBand, double highBand, float loudness,
    NoiseSource& noise)
{
    const double rate = CueSoundBaker::sampleRate;
    Biquad band(Biquad::Kind::BandPass, lowBand, 2.0, rate);
    const int start = static_cast<int>(from * rate);
    const int length = static_cast<int>((to - from) * rate);
    for (int i = 0; i < length && start + i < static_cast<int>(track.size()); ++i) {
        const double progress = static_cast<double>(i) / length;
        band.tune(lowBand + (highBand - lowBand) * progress);
        const float swell = static_cast<float>(std::sin(pi * progress));
        track[start + i] += loudness * swell * band.process(noise.next());
    }
}

// A dull thump of something heavy landing: a low swell of falling pitch.
void addThump(std::vector<float>& track, double at, float loudness)
{
    const double rate = CueSoundBaker::sampleRate;
    const int start = static_cast<int>(at * rate);
    const int length = static_cast<int>(0.12 * rate);
    double phase = 0;
    for (int i = 0; i < length && start + i < static_cast<int>(track.size()); ++i) {
        const double t = i / rate;
        phase += 2.0 * pi * (90.0 + 80.0 * std::exp(-t / 0.02)) / rate;
        track[start + i] += loudness * static_cast<float>(std::sin(phase) * std::min(1.0, t / 0.002) * std::exp(-t / 0.03));
    }
}

std::vector<float> finished(std::vector<float> track, float peak)
{
    // A file that ends in the middle of a ring clicks: the last 20 ms fade.
    const int fade = static_cast<int>(0.02 * CueSoundBaker::sampleRate);
    const int length = static_cast<int>(track.size());
    for (int i = std::max(0, length - fade); i < length; ++i)
        track[i] *= static_cast<float>(length - 1 - i) / fade;
    WavWriter::normalise(track, peak);
    return track;
}

} // namespace

bool CueSoundBaker::bake(const std::string& resDir)
{
    const std::string folder = resDir + "/";
    bool ok = WavWriter::write(folder + ResourceTable::name(Resource::MagazineOutSound), 1, sampleRate, makeMagazineOut());
    ok = WavWriter::write(folder + ResourceTable::name(Resource::MagazineInSound), 1, sampleRate, makeMagazineIn()) && ok;
    ok = WavWriter::write(folder + ResourceTable::name(Resource::DryClickSound), 1, sampleRate, makeDryClick()) && ok;
    return ok;
}

std::vector<float> CueSoundBaker::makeMagazineOut()
{
    // The latch is thrown, the empty magazine slides out and drops into the
    // turret's well.
    std::vector<float> track(static_cast<size_t>(0.45 * sampleRate), 0.0f);
    NoiseSource noise(0x0A7Cu);
    addStrike(track, 0.005, 0.8f, 1900.0, 0.012, noise);
    addSlide(track, 0.03, 0.24, 1400.0, 900.0, 0.6f, noise);
    addStrike(track, 0.26, 0.55f, 700.0, 0.03, noise);
    addThump(track, 0.26, 0.7f);
    return finished(std::move(track), magazineOutPeak);
}

std::vector<float> CueSoundBaker::makeMagazineIn()
{
    // The full magazine slides in and seats with a heavy clack, the latch
    // snaps over it, and the cocking handle racks the first round in.
    std::vector<float> track(static_cast<size_t>(0.6 * sampleRate), 0.0f);
    NoiseSource noise(0x3A61u);
    addSlide(track, 0.0, 0.16, 800.0, 1500.0, 0.5f, noise);
    addStrike(track, 0.16, 1.0f, 1100.0, 0.025, noise);
    addThump(track, 0.16, 0.9f);
    addStrike(track, 0.21, 0.6f, 2400.0, 0.01, noise);
    addSlide(track, 0.33, 0.43, 1200.0, 2000.0, 0.45f, noise);
    addStrike(track, 0.44, 0.9f, 1600.0, 0.02, noise);
    return finished(std::move(track), magazineInPeak);
}

std::vector<float> CueSoundBaker::makeDryClick()
{
    // The hammer falling on nothing: one small, dry snap.
    std::vector<float> track(static_cast<size_t>(0.1 * sampleRate), 0.0f);
    NoiseSource noise(0xC11Cu);
    addStrike(track, 0.003, 1.0f, 3200.0, 0.004, noise);
    addStrike(track, 0.012, 0.35f, 2100.0, 0.006, noise);
    return finished(std::move(track), dryClickPeak);
}
