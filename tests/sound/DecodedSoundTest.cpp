// Decoding and the mono mix that positioned sound needs.
#include "DecodedSound.h"
#include "DistanceModel.h"
#include "TestSounds.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace torvel;

TEST(DecodedSound, StereoMixesToTheAverageOfItsChannels) {
    TestSounds files;
    DecodedSound stereo;
    std::string error;
    ASSERT_TRUE(DecodedSound::read(files.tone("left.wav", 2, 0.1, 0.8, 0.0, 22050), stereo, error)) << error;
    EXPECT_EQ(stereo.getChannels(), 2);
    EXPECT_EQ(stereo.getSampleRate(), 22050);
    EXPECT_EQ(stereo.getFrames(), 2205u);

    const DecodedSound mono = stereo.mixedToMono();
    ASSERT_EQ(mono.getChannels(), 1);
    EXPECT_EQ(mono.getSampleRate(), 22050);
    ASSERT_EQ(mono.getFrames(), stereo.getFrames());
    int loudest = 0;
    for (std::size_t f = 0; f < mono.getFrames(); ++f) {
        EXPECT_EQ(mono.getSamples()[f], (stereo.getSamples()[2 * f] + stereo.getSamples()[2 * f + 1]) / 2);
        loudest = std::max(loudest, std::abs(int(mono.getSamples()[f])));
    }
    // Full left, silent right: half of 0.8 of full scale.
    EXPECT_NEAR(loudest, 0.4 * 32767, 100);
}

TEST(DecodedSound, WideFilesMixDownAndBadFilesSayWhy) {
    TestSounds files;
    DecodedSound sound;
    std::string error;
    ASSERT_TRUE(DecodedSound::read(files.tone("quad.wav", 4, 0.05, 0.5, 0.5), sound, error));
    EXPECT_EQ(sound.getChannels(), 4);
    EXPECT_EQ(sound.mixedToMono().getChannels(), 1);
    EXPECT_EQ(sound.mixedToMono().getFrames(), sound.getFrames());

    EXPECT_FALSE(DecodedSound::read(files.corrupt("bad.wav"), sound, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(sound.getFrames(), 0u);
    EXPECT_FALSE(DecodedSound::read(files.path("absent.wav"), sound, error));
    EXPECT_FALSE(DecodedSound::read(files.tone("empty.wav", 2, 0.0, 0.5), sound, error));
    EXPECT_EQ(error, "holds no samples");

    ASSERT_TRUE(DecodedSound::read(files.truncated("cut.wav"), sound, error));
    EXPECT_EQ(sound.getFrames(), 100u);
}

TEST(DistanceModel, JetsAreAudibleAcrossTheSkyAndLouderNear) {
    // A jet passes 50 to 2000 units away.
    EXPECT_FLOAT_EQ(DistanceModel::gain(50.0f), 1.0f);
    EXPECT_GT(DistanceModel::gain(2000.0f), 0.05f);  // no more than 26 dB down
    EXPECT_GT(DistanceModel::gain(50.0f) / DistanceModel::gain(2000.0f), 10.0f);
    EXPECT_GT(DistanceModel::gain(300.0f), 2.5f * DistanceModel::gain(1000.0f));
    float previous = 2.0f;
    for (float d = 100.0f; d <= 4000.0f; d += 100.0f) {
        EXPECT_LT(DistanceModel::gain(d), previous) << d;
        previous = DistanceModel::gain(d);
    }
    EXPECT_FLOAT_EQ(DistanceModel::gain(9000.0f), DistanceModel::gain(DistanceModel::maxDistance));

    // Strength stretches distances; nonsense strengths count as 1.
    EXPECT_FLOAT_EQ(DistanceModel::gain(2000.0f, 2.0f), 100.0f / (100.0f + 0.375f * 1900.0f));
    for (float odd : {0.0f, -3.0f, std::nanf(""), INFINITY})
        EXPECT_FLOAT_EQ(DistanceModel::rolloffFor(odd), DistanceModel::rolloff) << odd;
}
