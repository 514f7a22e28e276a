// What really comes out of the speakers: OpenAL Soft's wave backend records
// the mix into a file, which is measured once the device has been closed.
#include "AudioManager.h"
#include "AudioSource.h"
#include "DistanceModel.h"
#include "RecordedLevels.h"
#include "TestSounds.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

using namespace torvel;

namespace {

// The folder of the recording; the configuration in it is read once, when the
// process first touches OpenAL, so every test records to the same file, one
// after another.
TestSounds* recordingPlace = nullptr;

std::string recordingPath() {
    return recordingPlace->path("recording.wav");
}

void waitUntilSilent(const AudioSource* source) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (source->isPlaying() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

// Plays one file through a fresh manager at the volume given, lets it end,
// shuts down (which finishes the recording) and measures what was recorded.
template <typename Play>
RecordedLevels record(const std::string& file, Play play, float volume = 1.0f) {
    TestSounds logPlace;
    AudioManager* manager = createAudioManager(true, logPlace.path("log.html"));
    EXPECT_TRUE(manager->hasDevice());
    manager->setVolume(volume);
    AudioSource* source = manager->create("sound", file, false);
    EXPECT_TRUE(play(source));
    EXPECT_TRUE(source->isPlaying());
    waitUntilSilent(source);
    EXPECT_FALSE(source->isPlaying()) << "the sound never ended";
    delete manager;
    RecordedLevels levels;
    EXPECT_TRUE(levels.read(recordingPath()));
    return levels;
}

} // namespace

TEST(SoundRecording, UnpositionedSoundIsHeardEquallyOnBothSides) {
    TestSounds files;
    const RecordedLevels levels =
        record(files.tone("mono.wav", 1, 0.3, 0.5), [](AudioSource* s) { return s->play2d(false); });
    ASSERT_EQ(levels.getChannels(), 2);
    EXPECT_GT(levels.getRms(0), 0.05);
    EXPECT_NEAR(levels.getRms(0), levels.getRms(1), 0.01);
    RecordProperty("rmsLeft", std::to_string(levels.getRms(0)));
    RecordProperty("rmsRight", std::to_string(levels.getRms(1)));
}

TEST(SoundRecording, TheVolumeScalesEverySound) {
    TestSounds files;
    const std::string tone = files.tone("mono.wav", 1, 0.3, 0.5);
    const std::string jet = files.tone("jet.wav", 1, 0.3, 0.8);
    auto flat = [](AudioSource* s) { return s->play2d(false); };
    auto placed = [](AudioSource* s) { return s->play3d(30.0f, 0.0f, -100.0f); };
    const RecordedLevels full = record(tone, flat);
    const RecordedLevels half = record(tone, flat, 0.5f);
    EXPECT_NEAR(half.getRms(0) / full.getRms(0), 0.5, 0.02);
    EXPECT_NEAR(half.getRms(1) / full.getRms(1), 0.5, 0.02);
    const RecordedLevels nearFull = record(jet, placed);
    const RecordedLevels nearQuarter = record(jet, placed, 0.25f);
    EXPECT_NEAR(nearQuarter.getRms(1) / nearFull.getRms(1), 0.25, 0.02);
    // Beyond the range: held to it.
    const RecordedLevels louder = record(tone, flat, 3.0f);
    EXPECT_NEAR(louder.getRms(0) / full.getRms(0), 1.0, 0.02);
}

TEST(SoundRecording, StereoPlaysAsItIsWhenUnpositioned) {
    TestSounds files;
    const RecordedLevels levels =
        record(files.tone("left.wav", 2, 0.3, 0.5, 0.0), [](AudioSource* s) { return s->play2d(false); });
    ASSERT_EQ(levels.getChannels(), 2);
    EXPECT_GT(levels.getRms(0), 0.05);
    EXPECT_LT(levels.getRms(1), 0.01);
}

TEST(SoundRecording, SoundToTheRightIsLouderOnTheRight) {
    TestSounds files;
    const RecordedLevels levels = record(files.tone("mono.wav", 1, 0.3, 0.8),
                                         [](AudioSource* s) { return s->play3d(1000.0f, 0.0f, 0.0f, 1.0f, false); });
    ASSERT_EQ(levels.getChannels(), 2);
    EXPECT_GT(levels.getRms(1), 0.005) << "a jet 1000 units away must be heard";
    EXPECT_GT(levels.getRms(1), 2.0 * levels.getRms(0));
    RecordProperty("rmsLeft", std::to_string(levels.getRms(0)));
    RecordProperty("rmsRight", std::to_string(levels.getRms(1)));
}

TEST(SoundRecording, StereoFileIsPositionedAsItsMonoMix) {
    // All of this file is on the left; placed to the right it must come from the right.
    TestSounds files;
    const RecordedLevels levels = record(files.tone("left.wav", 2, 0.3, 0.8, 0.0),
                                         [](AudioSource* s) { return s->play3d(1000.0f, 0.0f, 0.0f, 1.0f, false); });
    ASSERT_EQ(levels.getChannels(), 2);
    EXPECT_GT(levels.getRms(1), 0.005);
    EXPECT_GT(levels.getRms(1), 2.0 * levels.getRms(0));
}

TEST(SoundRecording, NearJetIsLouderByTheDistanceModel) {
    TestSounds files;
    const std::string jet = files.tone("jet.wav", 1, 0.3, 0.8);
    // Straight ahead, so only the distance differs.
    const RecordedLevels nearJet = record(jet, [](AudioSource* s) { return s->play3d(0.0f, 0.0f, -50.0f); });
    const RecordedLevels farJet = record(jet, [](AudioSource* s) { return s->play3d(0.0f, 0.0f, -2000.0f); });
    const double nearLevel = nearJet.getRms(0) + nearJet.getRms(1);
    const double farLevel = farJet.getRms(0) + farJet.getRms(1);
    EXPECT_GT(farJet.getRms(0), 0.005) << "a jet 2000 units away must be heard";
    const double expected = DistanceModel::gain(50.0f) / DistanceModel::gain(2000.0f);
    EXPECT_NEAR(nearLevel / farLevel, expected, 0.1 * expected);
    RecordProperty("near", std::to_string(nearLevel / 2));
    RecordProperty("far", std::to_string(farLevel / 2));
}

TEST(SoundRecording, MovingSourceFollowsToTheOtherSide) {
    TestSounds files;
    const RecordedLevels levels =
        record(files.tone("jet.wav", 1, 0.4, 0.8), [](AudioSource* s) {
            const bool started = s->play3d(-1000.0f, 0.0f, 0.0f);
            s->move(1000.0f, 0.0f, 0.0f);
            return started;
        });
    ASSERT_EQ(levels.getChannels(), 2);
    EXPECT_GT(levels.getRms(1), 2.0 * levels.getRms(0));
}

TEST(SoundRecording, TheLouderSideFollowsTheView) {
    // The game's own fly-by, a jet 600 units out along the world's +X at 300
    // up. Looking along +Z it is on the right of the screen; with the turret
    // turned round (looking along -Z) on the left; looking along -X behind.
    const std::string flyby = "../res/flyby.wav";
    if (!std::ifstream(flyby))
        GTEST_SKIP() << "needs the baked " << flyby;
    const float up[3] = {0.0f, 1.0f, 0.0f};
    auto heardLooking = [&](float x, float z) {
        TestSounds logPlace;
        AudioManager* manager = createAudioManager(true, logPlace.path("log.html"));
        const float forward[3] = {x, 0.0f, z};
        manager->setListenerOrientation(forward, up);
        EXPECT_TRUE(manager->create("flybySound", flyby, false)->play3d(600.0f, 300.0f, 0.0f));
        // The first stretch of the pass is enough to compare the two sides.
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        delete manager;
        RecordedLevels levels;
        EXPECT_TRUE(levels.read(recordingPath()));
        return levels;
    };
    auto decibels = [](double rms) { return 20.0 * std::log10(rms > 1e-9 ? rms : 1e-9); };
    const RecordedLevels onRight = heardLooking(0.0f, 1.0f);
    const RecordedLevels onLeft = heardLooking(0.0f, -1.0f);
    ASSERT_EQ(onRight.getChannels(), 2);
    ASSERT_EQ(onLeft.getChannels(), 2);
    std::printf("jet on the right of the screen: left %.1f dB, right %.1f dB\n", decibels(onRight.getRms(0)),
                decibels(onRight.getRms(1)));
    std::printf("jet on the left of the screen:  left %.1f dB, right %.1f dB\n", decibels(onLeft.getRms(0)),
                decibels(onLeft.getRms(1)));
    EXPECT_GT(decibels(onRight.getRms(1)) - decibels(onRight.getRms(0)), 6.0);
    EXPECT_GT(decibels(onLeft.getRms(0)) - decibels(onLeft.getRms(1)), 6.0);
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    TestSounds place;
    recordingPlace = &place;
    const std::string config = place.path("alsoft.conf");
    std::ofstream(config) << "[general]\ndrivers=wave\nchannels=stereo\nhrtf=false\n[wave]\nfile="
                          << recordingPath() << "\n";
    setenv("ALSOFT_CONF", config.c_str(), 1);
    unsetenv("ALSOFT_DRIVERS");
    return RUN_ALL_TESTS();
}
