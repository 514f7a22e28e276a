#include "SoundBaker.h"

#include "BakeRegistry.h"
#include "Biquad.h"
#include "NoiseSource.h"
#include "ResourceTable.h"
#include "WavWriter.h"

#include <algorithm>
#include <cmath>

namespace {

const BakeRegistry::Registration registration("sounds", &SoundBaker::bake);

const double pi = 3.14159265358979323846;
const float peakDecibels = -1.0f;

// One report of a gun, added into a mono track at the given sample: the
// crack of the muzzle blast, the heavy thump of the charge and, a moment
// later, the clank of the breech.
void addReport(std::vector<float>& track, int at, float loudness, NoiseSource& noise)
{
    const double rate = SoundBaker::sampleRate;
    Biquad crackFilter(Biquad::Kind::HighPass, 900.0, 0.7, rate);
    Biquad crackTop(Biquad::Kind::LowPass, 6500.0, 0.7, rate);
    Biquad thumpFilter(Biquad::Kind::LowPass, 420.0, 0.8, rate);
    Biquad clankFilter(Biquad::Kind::BandPass, 2600.0, 4.0, rate);
    const int length = static_cast<int>(0.16 * rate);
    double phase = 0;
    for (int i = 0; i < length && at + i < static_cast<int>(track.size()); ++i) {
        const double t = i / rate;
        const float attack = static_cast<float>(std::min(1.0, t / 0.0004));
        const float crack = crackTop.process(crackFilter.process(noise.next()))
            * static_cast<float>(std::exp(-t / 0.004)) * attack;
        // The thump's pitch drops as the blast wave spreads.
        const double frequency = 55.0 + 75.0 * std::exp(-t / 0.02);
        phase += 2.0 * pi * frequency / rate;
        const float body = static_cast<float>(std::sin(phase) * std::exp(-t / 0.03)) * attack;
        const float rumble = thumpFilter.process(noise.next()) * static_cast<float>(std::exp(-t / 0.028));
        const double clankTime = t - 0.009;
        const float clank = clankTime > 0
            ? clankFilter.process(noise.next()) * static_cast<float>(std::exp(-clankTime / 0.005))
            : 0.0f;
        track[at + i] += loudness * (0.9f * crack + 0.75f * body + 1.6f * rumble + 0.5f * clank);
    }
}

// Echo of a delay line: a late, duller copy of the track.
void addEcho(const std::vector<float>& dry, std::vector<float>& wet, double delaySeconds, float gain,
    double cutoff)
{
    Biquad dull(Biquad::Kind::LowPass, cutoff, 0.7, SoundBaker::sampleRate);
    const size_t delay = static_cast<size_t>(delaySeconds * SoundBaker::sampleRate);
    for (size_t i = delay; i < wet.size(); ++i)
        wet[i] += gain * dull.process(dry[i - delay]);
}

// Diffuse tail of the shots rolling over the land: parallel damped feedback
// delays, then two all-pass stages that smear the repeats into a wash.
std::vector<float> rollingTail(const std::vector<float>& dry, const int (&delays)[4], double decaySeconds)
{
    const size_t length = dry.size();
    std::vector<float> tail(length, 0.0f);
    for (int delay : delays) {
        // Feedback for a fall of 60 dB in decaySeconds.
        const double delaySeconds = static_cast<double>(delay) / SoundBaker::sampleRate;
        const float feedback = static_cast<float>(std::pow(10.0, -3.0 * delaySeconds / decaySeconds));
        Biquad damping(Biquad::Kind::LowPass, 1800.0, 0.6, SoundBaker::sampleRate);
        std::vector<float> line(length, 0.0f);
        for (size_t i = 0; i < length; ++i) {
            const float back = i >= static_cast<size_t>(delay) ? line[i - delay] : 0.0f;
            line[i] = dry[i] + feedback * damping.process(back);
            tail[i] += back * 0.25f;
        }
    }
    for (int delay : {225, 556}) {
        std::vector<float> out(length, 0.0f);
        const float g = 0.6f;
        for (size_t i = 0; i < length; ++i) {
            const float back = i >= static_cast<size_t>(delay) ? out[i - delay] : 0.0f;
            const float backIn = i >= static_cast<size_t>(delay) ? tail[i - delay] : 0.0f;
            out[i] = -g * tail[i] + backIn + g * back;
        }
        tail.swap(out);
    }
    return tail;
}

} // namespace

bool SoundBaker::bake(const std::string& resDir)
{
    bool ok = WavWriter::write(resDir + "/" + ResourceTable::name(Resource::GunBurstSound), 2, sampleRate, makeGunBurst());
    ok = WavWriter::write(resDir + "/" + ResourceTable::name(Resource::FlyBySound), 1, sampleRate, makeFlyBy()) && ok;
    ok = WavWriter::write(resDir + "/" + ResourceTable::name(Resource::HitSound), 1, sampleRate, makeHitBoom()) && ok;
    return ok;
}

std::vector<float> SoundBaker::makeGunBurst()
{
    // Sixteen rounds, one per frame at 60 frames a second, the two guns
    // taking turns; each round a little early or late and a little louder or
    // softer, as a real mechanism fires.
    const int length = static_cast<int>(1.05 * sampleRate);
    std::vector<float> left(length, 0.0f);
    std::vector<float> right(length, 0.0f);
    NoiseSource noise(0x600Du);
    NoiseSource jitter(0x7173u);
    for (int round = 0; round < 16; ++round) {
        const double at = 0.004 + round / 60.0 + 0.0015 * jitter.next();
        const float loudness = 1.0f + 0.12f * jitter.next();
        std::vector<float> report(length, 0.0f);
        addReport(report, static_cast<int>(at * sampleRate), loudness, noise);
        // The right gun stands a little to the right of the seat.
        const bool rightGun = round % 2 == 0;
        const float near = 1.0f;
        const float far = 0.72f;
        // The far ear hears the report a fraction of a millisecond later.
        const int lag = 12;
        for (int i = 0; i < length; ++i) {
            const float delayed = i >= lag ? report[i - lag] : 0.0f;
            (rightGun ? right : left)[i] += near * report[i];
            (rightGun ? left : right)[i] += far * delayed;
        }
    }

    // Echoes: first slaps off the nearest slopes, then the roll of the
    // whole landscape, differently on each side.
    std::vector<float> wetLeft(length, 0.0f);
    std::vector<float> wetRight(length, 0.0f);
    addEcho(right, wetLeft, 0.17, 0.40f, 1700.0);
    addEcho(left, wetRight, 0.23, 0.32f, 1500.0);
    addEcho(left, wetLeft, 0.36, 0.22f, 1100.0);
    addEcho(right, wetRight, 0.41, 0.18f, 1000.0);
    const int delaysLeft[4] = {1307, 1637, 1811, 1931};
    const int delaysRight[4] = {1277, 1559, 1867, 1993};
    const std::vector<float> tailLeft = rollingTail(left, delaysLeft, 1.3);
    const std::vector<float> tailRight = rollingTail(right, delaysRight, 1.3);

    std::vector<float> stereo(2 * length);
    // The thumps leave the track off centre; the speaker should not be.
    Biquad steadyLeft(Biquad::Kind::HighPass, 30.0, 0.7, sampleRate);
    Biquad steadyRight(Biquad::Kind::HighPass, 30.0, 0.7, sampleRate);
    for (int i = 0; i < length; ++i) {
        // A short fade at the very end so the file stops without a click.
        const float fade = static_cast<float>(std::min(1.0, (length - 1 - i) / (0.1 * sampleRate)));
        stereo[2 * i] = fade * steadyLeft.process(left[i] + wetLeft[i] + 0.6f * tailLeft[i]);
        stereo[2 * i + 1] = fade * steadyRight.process(right[i] + wetRight[i] + 0.6f * tailRight[i]);
    }
    WavWriter::normalise(stereo, peakDecibels);
    return stereo;
}

std::vector<float> SoundBaker::makeFlyBy()
{
    // A jet on a straight, level path 110 m up and 50 m to the side, at
    // 130 m/s, passing closest about 3.2 s after the start; its exhaust roar,
    // aimed backwards, is loudest half a second later. For every sample
    // we find when the sound now arriving left the jet (sound takes its time
    // over the distance) and read the engine's noise at that moment: the
    // Doppler fall in pitch follows by itself. A second path off the ground
    // adds the sweeping comb of a real fly-by.
    const double speedOfSound = 343.0;
    const double speed = 130.0;
    const double height = 110.0;
    const double side = 50.0;
    const double ear = 1.75;
    const double closestAt = 3.2 - std::hypot(height - ear, side) / speedOfSound;
    const double duration = 9.0;
    const int length = static_cast<int>(duration * sampleRate);

    // Source tracks in the jet's own time, long enough for every emission
    // time that reaches the listener in the file.
    const double sourceStart = -4.0;
    const double sourceEnd = duration + 0.5;
    const int sourceLength = static_cast<int>((sourceEnd - sourceStart) * sampleRate);
    std::vector<float> roar(sourceLength);
    std::vector<float> whine(sourceLength);
    {
        NoiseSource noise(0xF1B7u);
        Biquad roarLow(Biquad::Kind::LowPass, 900.0, 0.6, sampleRate);
        Biquad roarLow2(Biquad::Kind::LowPass, 1600.0, 0.6, sampleRate);
        Biquad roarBand(Biquad::Kind::BandPass, 260.0, 0.9, sampleRate);
        Biquad rumble(Biquad::Kind::LowPass, 90.0, 0.7, sampleRate);
        Biquad fanBand(Biquad::Kind::BandPass, 2450.0, 25.0, sampleRate);
        Biquad fanBand2(Biquad::Kind::BandPass, 4900.0, 30.0, sampleRate);
        Biquad hiss(Biquad::Kind::HighPass, 3000.0, 0.7, sampleRate);
        NoiseSource wobble(0xB0B1u);
        double phase = 0;
        float drift = 0;
        for (int i = 0; i < sourceLength; ++i) {
            const float white = noise.next();
            roar[i] = 0.9f * roarLow2.process(roarLow.process(white)) + 1.2f * roarBand.process(white)
                + 2.5f * rumble.process(white);
            // The fan's tone wanders slowly around its speed.
            drift = 0.9995f * drift + 0.0005f * wobble.next();
            phase += 2.0 * pi * 2450.0 * (1.0 + 0.6 * drift) / sampleRate;
            const float white2 = noise.next();
            whine[i] = 0.05f * static_cast<float>(std::sin(phase)) + 0.02f * static_cast<float>(std::sin(2 * phase))
                + 3.0f * fanBand.process(white2) + 2.0f * fanBand2.process(white2) + 0.12f * hiss.process(white2);
        }
    }
    auto read = [&](const std::vector<float>& track, double time) {
        const double position = (time - sourceStart) * sampleRate;
        const int index = static_cast<int>(std::floor(position));
        if (index < 0 || index + 1 >= static_cast<int>(track.size()))
            return 0.0f;
        const float fraction = static_cast<float>(position - index);
        return track[index] * (1.0f - fraction) + track[index + 1] * fraction;
    };

    // One sound path from the jet to the ear: straight, or mirrored in the
    // ground. Gives the sample heard at time t on that path.
    struct Path {
        double sourceHeight;
        double emitted; // emission time found for the previous sample
    };
    Path direct{height - ear, closestAt};
    Path mirrored{height + ear, closestAt};
    Biquad air(Biquad::Kind::LowPass, 12000.0, 0.7, sampleRate);
    auto hear = [&](Path& path, double t, double& distance) {
        // Newton steps on emitted + distance(emitted) / c = t, starting from
        // the previous sample's answer.
        double tau = path.emitted;
        double dx = 0;
        for (int step = 0; step < 3; ++step) {
            dx = speed * (tau - closestAt);
            distance = std::sqrt(dx * dx + path.sourceHeight * path.sourceHeight + side * side);
            const double f = tau + distance / speedOfSound - t;
            const double slope = 1.0 + speed * dx / (distance * speedOfSound);
            tau -= f / slope;
        }
        path.emitted = tau;
        dx = speed * (tau - closestAt);
        distance = std::sqrt(dx * dx + path.sourceHeight * path.sourceHeight + side * side);
        // Angle between the jet's heading and the line to the listener:
        // the fan whines ahead, the exhaust roars behind, loudest about 140
        // degrees off the nose.
        const double angle = std::acos(std::clamp(-dx / distance, -1.0, 1.0)) * 180.0 / pi;
        const double roarGain = 0.35 + 1.1 * std::exp(-std::pow((angle - 140.0) / 40.0, 2.0));
        const double whineGain = 0.25 + 0.9 * std::exp(-std::pow(angle / 55.0, 2.0));
        return static_cast<float>((roarGain * read(roar, tau) + whineGain * read(whine, tau)) / distance);
    };

    std::vector<float> mono(length);
    for (int i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        double distance = 0;
        double mirroredDistance = 0;
        const float straight = hear(direct, t, distance);
        const float reflected = hear(mirrored, t, mirroredDistance);
        // Air swallows the treble with distance.
        air.tune(std::min(16000.0, 14000.0 * 120.0 / distance));
        float sample = air.process(straight + 0.7f * reflected);
        const double fadeIn = std::min(1.0, t / 0.3);
        const double fadeOut = std::min(1.0, (duration - t) / 0.4);
        mono[i] = sample * static_cast<float>(fadeIn * fadeOut);
    }
    WavWriter::normalise(mono, peakDecibels);
    return mono;
}

std::vector<float> SoundBaker::makeHitBoom()
{
    // A jet's fuel going up a kilometre away: the air has taken the top off
    // the blast's crack, what arrives is a dull punch, the deep thud of the
    // pressure wave falling in pitch, and a long roll of rumble that comes
    // back off the land. No echo slap: the game places the sound at the jet,
    // and the roll stays low so that it does not hide the guns.
    const double duration = 2.4;
    const int length = static_cast<int>(duration * sampleRate);
    std::vector<float> dry(length, 0.0f);
    NoiseSource noise(0xB0E1u);
    NoiseSource flutter(0xF1E7u);
    Biquad punchLow(Biquad::Kind::LowPass, 1800.0, 0.7, sampleRate);
    Biquad punchHigh(Biquad::Kind::HighPass, 120.0, 0.7, sampleRate);
    Biquad rumbleLow(Biquad::Kind::LowPass, 140.0, 0.7, sampleRate);
    Biquad rumbleLow2(Biquad::Kind::LowPass, 220.0, 0.6, sampleRate);
    Biquad gustBand(Biquad::Kind::BandPass, 8.0, 0.7, sampleRate);
    double phase = 0;
    for (int i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const float white = noise.next();
        const float punch = punchHigh.process(punchLow.process(white))
            * static_cast<float>(std::min(1.0, t / 0.0008) * std::exp(-t / 0.025));
        // The thud: a single deep swell whose pitch sinks as the wave spreads.
        const double frequency = 34.0 + 52.0 * std::exp(-t / 0.09);
        phase += 2.0 * pi * frequency / sampleRate;
        const float thud = static_cast<float>(std::sin(phase) * std::min(1.0, t / 0.004) * std::exp(-t / 0.28));
        // The roll: low noise that swells and sags as the rumble comes off
        // hills at different distances.
        const float gust = 1.0f + 3.0f * gustBand.process(flutter.next());
        const float rumble = rumbleLow2.process(rumbleLow.process(white)) * gust
            * static_cast<float>(std::min(1.0, t / 0.02) * std::exp(-t / 0.55));
        dry[i] = 0.7f * punch + 0.9f * thud + 3.2f * rumble;
    }
    // Off-centre thuds would leave the speaker pushed out; the last tenth of
    // a second fades so the file stops without a click.
    Biquad steady(Biquad::Kind::HighPass, 24.0, 0.7, sampleRate);
    std::vector<float> mono(length);
    for (int i = 0; i < length; ++i) {
        const float fade = static_cast<float>(std::min(1.0, (length - 1 - i) / (0.1 * sampleRate)));
        mono[i] = fade * steady.process(dry[i]);
    }
    WavWriter::normalise(mono, peakDecibels);
    return mono;
}
