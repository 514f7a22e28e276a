// The baked sounds, read back through libsndfile.

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

struct Sound {
    SF_INFO info = {};
    std::vector<short> samples; // interleaved
    bool loaded = false;

    explicit Sound(const char* name)
    {
        SNDFILE* file = sf_open((std::string(RES_DIR) + "/" + name).c_str(), SFM_READ, &info);
        if (!file)
            return;
        samples.resize(static_cast<size_t>(info.frames * info.channels));
        loaded = sf_read_short(file, samples.data(), static_cast<sf_count_t>(samples.size()))
            == static_cast<sf_count_t>(samples.size());
        sf_close(file);
    }

    double seconds() const { return static_cast<double>(info.frames) / info.samplerate; }

    double peakDecibels() const
    {
        int peak = 0;
        for (short s : samples)
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        return 20.0 * std::log10(peak / 32768.0);
    }

    bool clipped() const
    {
        return std::any_of(samples.begin(), samples.end(), [](short s) { return s >= 32767 || s <= -32767; });
    }

    // Root mean square of all channels from one time to another, in dB.
    double levelDecibels(double from, double to) const
    {
        const size_t begin = static_cast<size_t>(from * info.samplerate) * info.channels;
        const size_t end = std::min(samples.size(), static_cast<size_t>(to * info.samplerate) * info.channels);
        double sum = 0;
        for (size_t i = begin; i < end; ++i)
            sum += static_cast<double>(samples[i]) * samples[i];
        return 10.0 * std::log10(sum / std::max<size_t>(1, end - begin) / (32768.0 * 32768.0) + 1e-12);
    }

    // The strongest frequency between low and high (Hz) in one stretch of
    // the first channel, found by correlating with tones 10 Hz apart.
    double strongestFrequency(double from, double length, double low, double high) const
    {
        const int count = static_cast<int>(length * info.samplerate);
        const size_t begin = static_cast<size_t>(from * info.samplerate);
        double best = 0;
        double bestPower = -1;
        for (double f = low; f <= high; f += 10.0) {
            const double w = 2.0 * M_PI * f / info.samplerate;
            double re = 0;
            double im = 0;
            for (int i = 0; i < count; ++i) {
                const double s = samples[(begin + i) * info.channels];
                re += s * std::cos(w * i);
                im += s * std::sin(w * i);
            }
            if (re * re + im * im > bestPower) {
                bestPower = re * re + im * im;
                best = f;
            }
        }
        return best;
    }
};

} // namespace

TEST(GunBurstSound, IsAShortBurstAtFullLevelWithoutClipping)
{
    const Sound burst("gunburst.wav");
    ASSERT_TRUE(burst.loaded);
    EXPECT_EQ(burst.info.samplerate, 44100);
    EXPECT_TRUE(burst.info.channels == 1 || burst.info.channels == 2);
    EXPECT_EQ(burst.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_GE(burst.seconds(), 0.8);
    EXPECT_LE(burst.seconds(), 1.3);
    EXPECT_NEAR(burst.peakDecibels(), -1.0, 0.3);
    EXPECT_FALSE(burst.clipped());
}

TEST(GunBurstSound, FiresForAboutAQuarterSecondThenEchoesAway)
{
    const Sound burst("gunburst.wav");
    ASSERT_TRUE(burst.loaded);
    const double firing = burst.levelDecibels(0.0, 0.26);
    const double echo = burst.levelDecibels(0.32, 0.6);
    const double end = burst.levelDecibels(burst.seconds() - 0.03, burst.seconds());
    EXPECT_GT(firing, -20.0);
    // The echo is heard, well below the shots, and dies out before the end
    // so the file stops without a click.
    EXPECT_LT(echo, firing - 4.0);
    EXPECT_GT(echo, firing - 25.0);
    EXPECT_LT(end, -55.0);
}

TEST(FlyBySound, IsMonoForPositioningAndAboutNineSecondsLong)
{
    const Sound flyBy("flyby.wav");
    ASSERT_TRUE(flyBy.loaded);
    EXPECT_EQ(flyBy.info.samplerate, 44100);
    EXPECT_EQ(flyBy.info.channels, 1);
    EXPECT_EQ(flyBy.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_GE(flyBy.seconds(), 8.0);
    EXPECT_LE(flyBy.seconds(), 10.0);
    EXPECT_NEAR(flyBy.peakDecibels(), -1.0, 0.3);
    EXPECT_FALSE(flyBy.clipped());
}

TEST(FlyBySound, IsLoudestAboutFourSecondsIn)
{
    const Sound flyBy("flyby.wav");
    ASSERT_TRUE(flyBy.loaded);
    double loudestAt = 0;
    double loudest = -1e9;
    for (double t = 0; t + 0.5 <= flyBy.seconds(); t += 0.25) {
        const double level = flyBy.levelDecibels(t, t + 0.5);
        if (level > loudest) {
            loudest = level;
            loudestAt = t + 0.25;
        }
    }
    EXPECT_GE(loudestAt, 3.0);
    EXPECT_LE(loudestAt, 5.0);
    // It comes from the distance and goes away again.
    EXPECT_LT(flyBy.levelDecibels(0.5, 1.0), loudest - 10.0);
    EXPECT_LT(flyBy.levelDecibels(8.0, 8.5), loudest - 6.0);
}

TEST(FlyBySound, TurbineWhineFallsInPitchAsTheJetPasses)
{
    const Sound flyBy("flyby.wav");
    ASSERT_TRUE(flyBy.loaded);
    const double approaching = flyBy.strongestFrequency(1.0, 0.2, 1200.0, 6000.0);
    const double leaving = flyBy.strongestFrequency(7.0, 0.2, 1200.0, 6000.0);
    EXPECT_GT(approaching, leaving * 1.6) << approaching << " Hz before, " << leaving << " Hz after";
}

TEST(HitSound, IsAShortMonoBoomForPlacingAtTheJet)
{
    const Sound hit("hit.wav");
    ASSERT_TRUE(hit.loaded);
    EXPECT_EQ(hit.info.samplerate, 44100);
    EXPECT_EQ(hit.info.channels, 1);
    EXPECT_EQ(hit.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_GE(hit.seconds(), 1.0);
    EXPECT_LE(hit.seconds(), 3.0);
    EXPECT_NEAR(hit.peakDecibels(), -1.0, 0.3);
    EXPECT_FALSE(hit.clipped());
}

TEST(HitSound, HitsAtOnceIsDeepAndRollsAway)
{
    const Sound hit("hit.wav");
    ASSERT_TRUE(hit.loaded);
    // Loud from its first tenth of a second, a good deal quieter a second
    // later, and silent at the end.
    const double blast = hit.levelDecibels(0.0, 0.1);
    EXPECT_GT(blast, -10.0);
    EXPECT_LT(hit.levelDecibels(1.0, 1.2), blast - 20.0);
    EXPECT_GT(hit.levelDecibels(0.6, 0.8), blast - 40.0);
    EXPECT_LT(hit.levelDecibels(hit.seconds() - 0.03, hit.seconds()), -55.0);
    // Heavy: the strongest tone of the blast lies deep in the bass.
    EXPECT_LT(hit.strongestFrequency(0.0, 0.3, 20.0, 2000.0), 150.0);
}

TEST(RaidSounds, MonoForPlacingAtTheirLevelsAndTheWhistleFalls)
{
    struct Expected {
        const char* name;
        double seconds, peak;
    };
    for (const Expected& expected : {Expected{"bomber.wav", 8.0, -6.0}, Expected{"whistle.wav", 6.0, -9.0},
                                     Expected{"bombburst.wav", 2.5, -13.0}, Expected{"cannon.wav", 0.9, -1.0},
                                     Expected{"impact.wav", 1.4, -13.0}}) {
        SCOPED_TRACE(expected.name);
        const Sound sound(expected.name);
        ASSERT_TRUE(sound.loaded);
        EXPECT_EQ(sound.info.samplerate, 44100);
        EXPECT_EQ(sound.info.channels, 1);
        EXPECT_NEAR(sound.seconds(), expected.seconds, 0.01);
        EXPECT_NEAR(sound.peakDecibels(), expected.peak, 0.3);
        EXPECT_FALSE(sound.clipped());
    }
    // The whistle's pitch, by its crossings of zero, falls below 0.7 of where it began.
    const Sound whistle("whistle.wav");
    const auto crossings = [&whistle](double from) {
        int count = 0;
        const size_t begin = static_cast<size_t>(from * 44100), end = begin + 22050;
        for (size_t i = begin + 1; i < end; ++i)
            count += (whistle.samples[i - 1] < 0) != (whistle.samples[i] < 0);
        return count;
    };
    EXPECT_LT(crossings(5.0) * 2, crossings(0.2) * 1.4);
}
