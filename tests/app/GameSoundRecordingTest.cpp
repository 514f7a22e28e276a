// What the player hears of the guns and the sky, as it comes out of the
// speakers: the whole game, worked through its own events, recorded by
// OpenAL Soft's wave backend. The game's resources are the baked ones but
// for the gun burst, so that bursts fired only to empty the magazine are
// silent and leave the small sounds of the magazine to be heard.

#include "TorvelApp.h"

#include "Airspace.h"
#include "EngineContext.h"
#include "RecordedTrack.h"

#include <TestEvents.h>

#include <RecordingGame.h>

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <chrono>
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

fs::path scratch;  // bin/, res/, the data folder and the recording

// One game: made, played by `play` through the step it is handed, shut down;
// then its recording.
RecordedTrack playAndRecord(const std::function<void(TorvelApp&, const std::function<void(u32)>&)>& play)
{
    u32 clock = 100000;
    TorvelApp* app = new TorvelApp();
    app->setFollowsFocus(false);
    app->setClock([&clock] { return clock; });
    const std::function<void(u32)> step = [&](u32 ms) {
        clock += ms;
        EXPECT_TRUE(app->step());
    };
    play(*app, step);
    getAirspace()->stop();
    delete app;
    destroyEngineContext();
    RecordedTrack track;
    EXPECT_TRUE(track.read((scratch / "recording.wav").string()));
    return track;
}

// Steps the game for a stretch of real time, as the sounds play out in it.
void wait(const std::function<void(u32)>& step, int milliseconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        step(17);
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
    }
}

} // namespace

TEST(GameSoundRecording, TheMagazineIsHeardOutAndInAndADryTriggerClicks)
{
    if (!std::getenv("DISPLAY"))
        GTEST_SKIP() << "needs an X display";
    bool prompted = false, promptGone = false;
    const RecordedTrack track = playAndRecord([&](TorvelApp& app, const std::function<void(u32)>& step) {
        step(17);
        wait(step, 300);
        app.OnEvent(TestEvents::joystick(0, 0, 1u << 2));   // reload: the magazine comes out
        wait(step, 900);
        step(15100);                                        // the reload runs out: a new one goes in
        EXPECT_FALSE(app.getFireUnit().isReloading());
        wait(step, 1000);
        for (int burst = 0; burst < 5; ++burst) {           // the magazine emptied in silence
            app.OnEvent(TestEvents::joystick(0, 0, 1));
            for (int i = 0; i < 6; ++i)
                step(60);
        }
        EXPECT_EQ(app.getFireUnit().getRoundsLeft(), 0u);
        EXPECT_FALSE(app.getFireUnit().promptsReload());
        app.OnEvent(TestEvents::joystick(0, 0, 1));         // nothing left: a click
        step(17);
        prompted = app.getFireUnit().promptsReload();
        wait(step, 500);
        app.OnEvent(TestEvents::joystick(0, 0, 1u << 2));   // the prompt heeded
        step(17);
        promptGone = !app.getFireUnit().promptsReload();
        // Cut the second magazine's sound short: the game ends with it.
    });
    EXPECT_TRUE(prompted) << "no reload prompt after the dry click";
    EXPECT_TRUE(promptGone) << "the prompt stays up through the reload";

    const std::vector<RecordedTrack::Stretch> heard = track.stretches(-50.0, 0.25);
    for (const RecordedTrack::Stretch& s : heard)
        std::printf("heard %.2f to %.2f s: peak %.1f dBFS, RMS %.1f dBFS\n", s.from, s.to, s.peakDb,
                    track.rmsDb(s.from, s.to));
    ASSERT_GE(heard.size(), 3u) << "the magazine out, the magazine in and the click";
    const RecordedTrack::Stretch& out = heard[0];
    const RecordedTrack::Stretch& in = heard[1];
    const RecordedTrack::Stretch& click = heard[2];
    EXPECT_NEAR(out.to - out.from, 0.42, 0.12);
    EXPECT_NEAR(in.to - in.from, 0.58, 0.12);
    EXPECT_GT(in.from - out.to, 0.5) << "the magazine went in with the old one still coming out";
    EXPECT_LT(click.to - click.from, 0.2);
    EXPECT_GT(click.from - in.to, 0.8);
    for (const RecordedTrack::Stretch* s : {&out, &in, &click}) {
        EXPECT_GT(s->peakDb, -20.0);
        EXPECT_LT(s->peakDb, -3.0) << "a small sound as loud as the guns";
    }
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RecordingGame::runAllTests("torvel-game-recording", {true, true}, scratch);
}
