// The mix as it comes out of the speakers, recorded by OpenAL Soft's wave
// backend with the baked sounds and the game's own levels: the boom of a
// hit over the guns, a jet's engines heard all along its path, and a jet
// ahead told from one behind by the head-related filters. The output is
// stereo, as on a player's headphones or speakers, and the filters are the
// game's: on unless switched off.

#include "Aircraft.h"
#include "AudioManager.h"
#include "AudioSource.h"
#include "EngineContext.h"
#include "EngineSound.h"
#include "HitEffects.h"
#include "RecordedTrack.h"
#include "ResourceTable.h"

#include <RecordingGame.h>

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

using namespace irr;
namespace fs = std::filesystem;

namespace {

fs::path scratch;  // bin/, res/ and the recording

std::string recording() { return (scratch / "recording.wav").string(); }

u32 millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return static_cast<u32>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}

// Lets the sounds play for a while, calling `tick` with the milliseconds
// since start every 10 ms.
void playFor(int milliseconds, const std::function<void(u32)>& tick = {})
{
    const auto start = std::chrono::steady_clock::now();
    while (millisecondsSince(start) < static_cast<u32>(milliseconds)) {
        if (tick)
            tick(millisecondsSince(start));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// The level of the differences between neighbouring samples, which weighs
// the treble, less the level of the sound: how bright it is, in dB.
double brightness(const RecordedTrack& track, double from, double to)
{
    return track.rmsDb(from, to, -2) - track.rmsDb(from, to);
}

} // namespace

TEST(MixRecording, TheBoomOfAHitStandsOverTheGuns)
{
    torvel::AudioManager* audio = torvel::createAudioManager(true, (scratch / "mix.html").string());
    ASSERT_TRUE(audio->hasDevice());
    torvel::AudioSource* guns = audio->create("fireSound", ResourceTable::path(Resource::GunBurstSound));
    // The guns made way for a hit with no boom to hear; then booms alone.
    HitEffects duckOnly(nullptr, nullptr, nullptr);
    duckOnly.setDuckedSound(guns);
    HitEffects booms(nullptr, nullptr, audio);
    playFor(200);
    auto start = std::chrono::steady_clock::now();
    guns->play2d(false);
    duckOnly.hit(nullptr, core::vector3df(0, 0, 1000), 0);
    playFor(1600, [&](u32 ms) { duckOnly.update(ms); });
    booms.hit(nullptr, core::vector3df(0, 300, 950), 0);    // 1000 units out
    playFor(2800);
    booms.hit(nullptr, core::vector3df(0, 600, 1900), 0);   // 2000 units out
    playFor(2800);
    EXPECT_FLOAT_EQ(guns->getGain(), 1.0f) << "the guns are back to full";
    guns->play2d(false);                                   // no hit: the guns at full
    playFor(1300);
    audio->shutDown();
    delete audio;

    RecordedTrack track;
    ASSERT_TRUE(track.read(recording()));
    const std::vector<RecordedTrack::Stretch> heard = track.stretches(-60.0, 0.3);
    ASSERT_EQ(heard.size(), 4u) << "the ducked guns, two booms, the guns";
    auto level = [&](const RecordedTrack::Stretch& s) { return track.rmsDb(s.from, s.from + 0.5); };
    const double ducked = level(heard[0]), near = level(heard[1]), far = level(heard[2]), full = level(heard[3]);
    std::printf("in the half second after a hit, RMS: the guns under the boom %.1f dBFS, the boom at 1000 units %.1f "
                "dBFS, at 2000 units %.1f dBFS; the guns without a hit %.1f dBFS, peak %.1f dBFS\n",
                ducked, near, far, full, heard[3].peakDb);
    EXPECT_GE(near - ducked, 6.0) << "the boom at 1000 units is not 6 dB over the guns";
    EXPECT_GE(far - ducked, 1.0) << "the boom at 2000 units is lost under the guns";
    EXPECT_GT(full, -20.0) << "the guns lost their punch";
    EXPECT_GT(heard[3].peakDb, -3.0);
}

TEST(MixRecording, AJetIsHeardFromItsStartToTheEndOfItsPath)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display";
    getSceneManager();   // the engine, the window and the sound service
    const float forward[3] = {0, 0, 1}, up[3] = {0, 1, 0};
    getAudioManager()->setListenerOrientation(forward, up);
    playFor(200);
    // Four seconds across the sky, from 2000 units to the left to 2000 to
    // the right, 400 ahead at its nearest: too short a flight for a fly-by,
    // so the engines are all there is to hear.
    const u32 flight = 4000;
    auto* jet = new Aircraft(core::line3df(-2000, 300, 400, 2000, 300, 400), flight, 0);
    const EngineSound* engine = jet->getEngineSound();
    ASSERT_NE(engine, nullptr);
    bool soundedAll = true;
    playFor(int(flight), [&](u32 ms) {
        jet->update(ms);
        soundedAll = soundedAll && engine->isSounding();
    });
    delete jet;
    playFor(400);
    destroyEngineContext();
    EXPECT_TRUE(soundedAll);

    RecordedTrack track;
    ASSERT_TRUE(track.read(recording()));
    const std::vector<RecordedTrack::Stretch> heard = track.stretches(-75.0, 0.1);
    ASSERT_EQ(heard.size(), 1u) << "the engines fell silent on the way";
    const double start = heard[0].from, length = heard[0].to - heard[0].from;
    std::printf("the jet heard for %.2f s of its %.1f s flight:", length, flight / 1000.0);
    double quietest = 0.0;
    for (double t = 0.0; t + 0.5 <= flight / 1000.0; t += 0.5) {
        const double level = track.rmsDb(start + t, start + t + 0.5);
        quietest = std::min(quietest, level);
        std::printf(" %.1f", level);
    }
    std::printf(" dBFS each half second\n");
    EXPECT_NEAR(length, flight / 1000.0, 0.25) << "heard from its start to the end of its path, and no longer";
    EXPECT_GT(quietest, -60.0);
    // Louder as it nears: the middle of the path over its ends.
    EXPECT_GT(track.rmsDb(start + 1.75, start + 2.25) - track.rmsDb(start, start + 0.5), 6.0);
}

// A jet 600 units ahead and then one behind, through a sound service whose
// head-related filters are left on or switched off before anything plays (a
// recording device starts its file again when the switch resets it). The
// levels and the treble of each, in dB.
struct AheadAndBehind {
    bool filtersOn = false;
    double level[2] = {0, 0};
    double treble[2] = {0, 0};
};

AheadAndBehind recordAheadAndBehind(bool hrtf)
{
    AheadAndBehind result;
    torvel::AudioManager* audio = torvel::createAudioManager(true, (scratch / "hrtf.html").string());
    EXPECT_TRUE(audio->hasDevice());
    if (!hrtf)
        audio->setHrtf(false);
    const float forward[3] = {0, 0, 1}, up[3] = {0, 1, 0};
    audio->setListenerOrientation(forward, up);
    result.filtersOn = audio->isHrtfOn();
    torvel::AudioSource* engine = audio->create("engineSound", ResourceTable::path(Resource::EngineSound));
    engine->setGain(EngineSound::gain);
    playFor(200);
    for (float z : {600.0f, -600.0f}) {
        engine->play3d(0, 100, z, EngineSound::strength, true);
        playFor(1000);
        engine->stop();
        playFor(400);
    }
    audio->shutDown();
    delete audio;

    RecordedTrack track;
    EXPECT_TRUE(track.read(recording()));
    const std::vector<RecordedTrack::Stretch> heard = track.stretches(-70.0, 0.2);
    EXPECT_EQ(heard.size(), 2u);
    for (std::size_t i = 0; i < 2 && i < heard.size(); ++i) {
        result.level[i] = track.rmsDb(heard[i].from + 0.2, heard[i].to - 0.2);
        result.treble[i] = brightness(track, heard[i].from + 0.2, heard[i].to - 0.2);
    }
    return result;
}

TEST(MixRecording, AJetAheadSoundsOtherThanOneBehind)
{
    const AheadAndBehind filtered = recordAheadAndBehind(true);
    const AheadAndBehind plain = recordAheadAndBehind(false);
    std::printf("a jet 600 units ahead and one behind, with the head-related filters: %.1f and %.1f dBFS, treble "
                "%.1f and %.1f dB; switched off: %.1f and %.1f dBFS, treble %.1f and %.1f dB\n",
                filtered.level[0], filtered.level[1], filtered.treble[0], filtered.treble[1], plain.level[0],
                plain.level[1], plain.treble[0], plain.treble[1]);
    ASSERT_TRUE(filtered.filtersOn) << "the stereo output mixes without the head-related filters";
    EXPECT_FALSE(plain.filtersOn) << "the switch left them on";
    EXPECT_GT(std::fabs(filtered.treble[0] - filtered.treble[1]), 1.0) << "ahead and behind sound alike";
    EXPECT_LT(std::fabs(plain.treble[0] - plain.treble[1]), 0.3) << "plain panning told them apart";
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RecordingGame::runAllTests("torvel-mix-recording", {false, false}, scratch);
}
