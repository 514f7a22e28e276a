// The boom of a hit as it comes out of the speakers: the whole game, a jet
// hit through the real aim and fire, recorded by OpenAL Soft's wave backend.
// The game's resources are the baked ones but for the gun burst, so that
// the guns fire in silence and the boom is all there is to hear.

#include "TorvelApp.h"

#include "Aircraft.h"
#include "Airspace.h"
#include "DistanceModel.h"
#include "EngineContext.h"
#include "GunsOnJet.h"
#include "HitEffects.h"
#include "RecordedLevels.h"

#include <TestEvents.h>

#include <RecordingGame.h>

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

using namespace irr;
namespace fs = std::filesystem;

namespace {

fs::path scratch;  // bin/, res/, the data folder and the recording

double decibels(double rms)
{
    return 20.0 * std::log10(rms > 1e-9 ? rms : 1e-9);
}

// One game from start to shut-down: a round, its first jet hit, the turret
// then turned by `turn` degrees (negative: to the left, so that the jet is
// on the right), and the boom left to play out. What was heard, and how far
// away the jet was hit.
RecordedLevels playAHit(f32 turn, f32& distance)
{
    RecordedLevels levels;
    u32 clock = 100000;
    TorvelApp* app = new TorvelApp();
    app->setFollowsFocus(false);
    app->setClock([&clock] { return clock; });
    auto step = [&](u32 ms) { clock += ms; return app->step(); };
    EXPECT_TRUE(step(17));
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_F9, true)));
    for (int i = 0; i < 6 && getAirspace()->getAircraft().empty(); ++i)
        EXPECT_TRUE(step(1000));
    if (getAirspace()->getAircraft().size() != 1u) {
        ADD_FAILURE() << "no jet took off";
        return levels;
    }
    getDevice()->getTimer()->stop();
    EXPECT_TRUE(step(17));
    const Aircraft& jet = *getAirspace()->getAircraft().front();
    distance = jet.getAbsolutePosition().getLength();
    EXPECT_GT(GunsOnJet::shootDown(*app, jet, [&] { EXPECT_TRUE(step(17)); }), 0) << "five bursts missed";
    GunsOnJet::aim(app->getFireUnit(), jet);
    scene::ISceneNode* base = app->getFireUnit().getTurretBase();
    base->setRotation(base->getRotation() + core::vector3df(0, turn, 0));
    // The listener turns with the view in the next frame; the boom plays
    // out in real time.
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(2800);
    while (std::chrono::steady_clock::now() < end) {
        EXPECT_TRUE(step(17));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    getAirspace()->stop();
    delete app;
    destroyEngineContext();
    EXPECT_TRUE(levels.read((scratch / "recording.wav").string()));
    return levels;
}

} // namespace

TEST(HitRecording, TheBoomComesFromWhereTheJetWasHit)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display";
    f32 distance = 0.0f;
    const RecordedLevels onRight = playAHit(-90.0f, distance);
    const RecordedLevels ahead = playAHit(0.0f, distance);
    ASSERT_EQ(onRight.getChannels(), 2);
    ASSERT_EQ(ahead.getChannels(), 2);
    std::printf("boom of a hit %.0f units away, the jet on the right: left %.1f dB, right %.1f dB\n", distance,
                decibels(onRight.getRms(0)), decibels(onRight.getRms(1)));
    std::printf("boom of a hit %.0f units away, the jet ahead:        left %.1f dB, right %.1f dB\n", distance,
                decibels(ahead.getRms(0)), decibels(ahead.getRms(1)));
    std::printf("gain of the distance model there: %.1f dB\n",
                decibels(torvel::DistanceModel::gain(distance, HitEffects::boomStrength)));
    // Heard at all, and from the jet's side.
    EXPECT_GT(ahead.getRms(0), 0.005);
    EXPECT_GT(decibels(onRight.getRms(1)) - decibels(onRight.getRms(0)), 6.0);
    EXPECT_NEAR(decibels(ahead.getRms(1)), decibels(ahead.getRms(0)), 2.0);
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RecordingGame::runAllTests("torvel-hit-recording", {true, true}, scratch);
}
