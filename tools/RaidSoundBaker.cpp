#include "RaidSoundBaker.h"

#include "BakeRegistry.h"
#include "Biquad.h"
#include "NoiseSource.h"
#include "ResourceTable.h"
#include "SoundBaker.h"
#include "WavWriter.h"

#include <algorithm>
#include <cmath>

namespace {

const BakeRegistry::Registration registration("raidsounds", &RaidSoundBaker::bake);

const double pi = 3.14159265358979323846;
const double rate = SoundBaker::sampleRate;

std::vector<float> silence(double seconds)
{
    return std::vector<float>(static_cast<size_t>(seconds * rate), 0.0f);
}

// Ends a track without a click: the last stretch fades out.
void fadeOut(std::vector<float>& track, double seconds)
{
    const size_t fade = std::min(track.size(), static_cast<size_t>(seconds * rate));
    for (size_t i = 0; i < fade; ++i)
        track[track.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(fade);
}

// One blast at sample `at`: a noise crack through a low pass and a thud
// falling in pitch, each with its own decay.
void addBlast(std::vector<float>& track, size_t at, float loudness, double crackCutoff, double thudFrom,
              double thudTo, double decay, NoiseSource& noise)
{
    Biquad crack(Biquad::Kind::LowPass, crackCutoff, 0.7, rate);
    Biquad rumble(Biquad::Kind::LowPass, 260.0, 0.7, rate);
    double phase = 0.0;
    for (size_t i = 0; at + i < track.size(); ++i) {
        const double t = i / rate;
        const float attack = static_cast<float>(std::min(1.0, t / 0.001));
        const double frequency = thudTo + (thudFrom - thudTo) * std::exp(-t / 0.05);
        phase += 2.0 * pi * frequency / rate;
        const float body = static_cast<float>(std::sin(phase) * std::exp(-t / (decay * 0.4)));
        const float hiss = crack.process(noise.next()) * static_cast<float>(std::exp(-t / (decay * 0.15)));
        const float roll = rumble.process(noise.next()) * static_cast<float>(std::exp(-t / decay));
        track[at + i] += loudness * attack * (0.8f * body + 1.0f * hiss + 2.2f * roll);
    }
}

} // namespace

bool RaidSoundBaker::bake(const std::string& resDir)
{
    const auto file = [&resDir](Resource resource) { return resDir + "/" + ResourceTable::name(resource); };
    const int sampleRate = SoundBaker::sampleRate;
    bool ok = WavWriter::write(file(Resource::BomberSound), 1, sampleRate, makeBomberEngines());
    ok = WavWriter::write(file(Resource::WhistleSound), 1, sampleRate, makeWhistle()) && ok;
    ok = WavWriter::write(file(Resource::BombBurstSound), 1, sampleRate, makeBombBurst()) && ok;
    ok = WavWriter::write(file(Resource::CannonSound), 1, sampleRate, makeCannon()) && ok;
    return WavWriter::write(file(Resource::ImpactSound), 1, sampleRate, makeImpact()) && ok;
}

std::vector<float> RaidSoundBaker::makeBomberEngines()
{
    // Four radial engines a little out of step: their firing rates, about
    // 40 Hz each, beat against one another into the drone of a heavy bomber,
    // with the rasp of the exhausts on top.
    std::vector<float> track = silence(8.0);
    NoiseSource noise(0xB0B5u);
    Biquad rasp(Biquad::Kind::BandPass, 700.0, 1.2, rate);
    Biquad body(Biquad::Kind::LowPass, 400.0, 0.7, rate);
    const double rates[4] = {39.0, 40.3, 41.1, 42.4};
    double phases[4] = {0.0, 1.0, 2.0, 3.0};
    for (size_t i = 0; i < track.size(); ++i) {
        float engines = 0.0f;
        for (int e = 0; e < 4; ++e) {
            phases[e] += 2.0 * pi * rates[e] / rate;
            // A pulse a firing, rich in harmonics, as a piston exhaust is.
            const double pulse = std::pow(0.5 + 0.5 * std::sin(phases[e]), 6.0);
            engines += static_cast<float>(pulse);
        }
        const float hiss = rasp.process(noise.next()) * (0.4f + 0.3f * engines);
        track[i] = body.process(engines) + 0.5f * hiss;
    }
    Biquad steady(Biquad::Kind::HighPass, 30.0, 0.7, rate);
    for (float& sample : track)
        sample = steady.process(sample);
    fadeOut(track, 0.3);
    for (size_t i = 0; i < static_cast<size_t>(0.3 * rate); ++i)
        track[i] *= static_cast<float>(i / (0.3 * rate));
    WavWriter::normalise(track, -6.0f);
    return track;
}

std::vector<float> RaidSoundBaker::makeWhistle()
{
    // The fins' whistle, falling from about 2.2 kHz to 700 Hz over the
    // fall, louder as the bomb comes down, with a breath of rushing air.
    std::vector<float> track = silence(6.0);
    NoiseSource noise(0x7715u);
    Biquad air(Biquad::Kind::BandPass, 1500.0, 2.0, rate);
    double phase = 0.0;
    for (size_t i = 0; i < track.size(); ++i) {
        const double t = i / rate;
        const double frequency = 700.0 + 1500.0 * std::exp(-t / 2.5);
        phase += 2.0 * pi * frequency / rate;
        const float swell = static_cast<float>(0.3 + 0.7 * t / 6.0);
        track[i] = swell * (static_cast<float>(std::sin(phase)) * 0.7f + 0.5f * air.process(noise.next()));
    }
    fadeOut(track, 0.05);
    WavWriter::normalise(track, -9.0f);
    return track;
}

std::vector<float> RaidSoundBaker::makeBombBurst()
{
    // Near, unlike a jet's boom far up: a hard crack with its top left on,
    // the ground's heavy thump, and the earth falling back.
    std::vector<float> track = silence(2.5);
    NoiseSource noise(0xB00Au);
    addBlast(track, 0, 1.0f, 5000.0, 110.0, 35.0, 0.7, noise);
    Biquad patter(Biquad::Kind::BandPass, 1800.0, 1.0, rate);
    for (size_t i = static_cast<size_t>(0.25 * rate); i < track.size(); ++i) {
        const double t = i / rate - 0.25;
        const float grains = noise.next() > 0.96f ? 1.0f : 0.0f;
        track[i] += 0.25f * patter.process(grains) * static_cast<float>(std::exp(-t / 0.6));
    }
    fadeOut(track, 0.2);
    // A stick lands four bursts near the gun within a second, each with its
    // impact on the gun: each a good deal under full scale, so that together
    // they do not clip.
    WavWriter::normalise(track, -13.0f);
    return track;
}

std::vector<float> RaidSoundBaker::makeCannon()
{
    // Six rounds of a fast cannon, ten a second apart: short sharp reports,
    // lighter than the player's own guns.
    std::vector<float> track = silence(0.9);
    NoiseSource noise(0xCA77u);
    for (int round = 0; round < 6; ++round)
        addBlast(track, static_cast<size_t>((0.005 + round * 0.1) * rate), 1.0f - 0.05f * round, 3500.0, 160.0,
                 70.0, 0.06, noise);
    fadeOut(track, 0.1);
    WavWriter::normalise(track, -1.0f);
    return track;
}

std::vector<float> RaidSoundBaker::makeImpact()
{
    // A shell striking the gun's armour: a hard thud, the ring of the steel
    // plates, and grit raining on them.
    std::vector<float> track = silence(1.4);
    NoiseSource noise(0x1A9Au);
    addBlast(track, 0, 1.0f, 4000.0, 150.0, 60.0, 0.25, noise);
    const double modes[3] = {410.0, 1130.0, 2370.0};
    for (size_t i = 0; i < track.size(); ++i) {
        const double t = i / rate;
        float ring = 0.0f;
        for (int m = 0; m < 3; ++m)
            ring += static_cast<float>(std::sin(2.0 * pi * modes[m] * t) * std::exp(-t / (0.35 - 0.09 * m)));
        track[i] += 0.35f * ring * static_cast<float>(std::min(1.0, t / 0.002));
    }
    fadeOut(track, 0.1);
    WavWriter::normalise(track, -13.0f);
    return track;
}
