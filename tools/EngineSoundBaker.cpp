#include "EngineSoundBaker.h"

#include "BakeRegistry.h"
#include "Biquad.h"
#include "NoiseSource.h"
#include "ResourceTable.h"
#include "WavWriter.h"

#include <cmath>

namespace {

const BakeRegistry::Registration registration("engine sound", &EngineSoundBaker::bake);

const double pi = 3.14159265358979323846;

} // namespace

bool EngineSoundBaker::bake(const std::string& resDir)
{
    return WavWriter::write(resDir + "/" + ResourceTable::name(Resource::EngineSound), 1, sampleRate, makeEngineLoop());
}

std::vector<float> EngineSoundBaker::makeEngineLoop()
{
    // Made a little longer than the loop: the extra at the end is laid over
    // the beginning with a crossfade, so that the noise runs on through the
    // loop's seam. The tones and the slow swell go round a whole number of
    // times in the loop, so they meet themselves there too.
    const int length = static_cast<int>(loopSeconds * sampleRate);
    const int overlap = static_cast<int>(0.5 * sampleRate);
    std::vector<float> track(static_cast<size_t>(length + overlap));
    NoiseSource noise(0xE61Eu);
    Biquad rumble(Biquad::Kind::LowPass, 120.0, 0.7, sampleRate);
    Biquad roarLow(Biquad::Kind::LowPass, 700.0, 0.6, sampleRate);
    Biquad roarBand(Biquad::Kind::BandPass, 320.0, 0.8, sampleRate);
    Biquad hiss(Biquad::Kind::BandPass, 3200.0, 1.2, sampleRate);
    auto wholeCycles = [](double frequency) { return std::round(frequency * loopSeconds) / loopSeconds; };
    const double whine = wholeCycles(1870.0);
    const double whine2 = wholeCycles(2*1870.0 + 37.0);
    const double swell = wholeCycles(0.5);
    // The filters settle for a moment before the first sample kept.
    for (int i = 0; i < sampleRate / 10; ++i) {
        const float white = noise.next();
        rumble.process(white);
        roarLow.process(white);
        roarBand.process(white);
        hiss.process(white);
    }
    for (size_t i = 0; i < track.size(); ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const float white = noise.next();
        const float roar = 2.2f * rumble.process(white) + 0.8f * roarLow.process(white) + 1.0f * roarBand.process(white);
        const float air = 0.25f * hiss.process(white);
        const float tone = static_cast<float>(0.025 * std::sin(2.0 * pi * whine * t) + 0.012 * std::sin(2.0 * pi * whine2 * t));
        const float breathe = static_cast<float>(1.0 + 0.12 * std::sin(2.0 * pi * swell * t));
        track[i] = breathe * (roar + air) + tone;
    }
    std::vector<float> loop(track.begin(), track.begin() + length);
    for (int i = 0; i < overlap; ++i) {
        // Equal power: the two noises are unrelated, their powers add.
        const double x = static_cast<double>(i) / overlap;
        const float fadeIn = static_cast<float>(std::sin(0.5 * pi * x));
        const float fadeOut = static_cast<float>(std::cos(0.5 * pi * x));
        loop[static_cast<size_t>(i)] = fadeIn * track[static_cast<size_t>(i)] + fadeOut * track[static_cast<size_t>(length + i)];
    }
    WavWriter::normalise(loop, -3.0f);
    return loop;
}
