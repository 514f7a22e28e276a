#include "TorvelApp.h"

#include "Aircraft.h"
#include "Airspace.h"
#include "AudioSource.h"
#include "EngineContext.h"
#include "FireballEffect.h"
#include "HitEffects.h"
#include "GunsOnJet.h"
#include "OptionRows.h"
#include "RaidMode.h"

#include <TestEvents.h>
#include <TestFiles.h>

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <AL/al.h>

#include <sys/resource.h>

#include <array>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace irr;

namespace {

class TorvelAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Without a display the game ends at once with status 0, as it
        // always does, which would pass every test here unseen.
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs an X display";
        // The best rounds go to a folder of the test's own.
        char pattern[] = "/tmp/torvel-data-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dataHome = pattern;
        ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
        app = new TorvelApp();
        // Other tests' windows share the display and take its focus.
        app->setFollowsFocus(false);
        app->setClock([this] { return clock; });
    }

    // One pass of the loop, a 60th of a second after the last, or the
    // given milliseconds.
    bool step(u32 ms = 0)
    {
        clock += ms != 0 ? ms : ++passes % 3 == 0 ? 16 : 17;
        return app->step();
    }
    void TearDown() override
    {
        if (app) {
            getAirspace()->stop();
            delete app;
            destroyEngineContext();
        }
        if (!dataHome.empty())
            std::filesystem::remove_all(dataHome);
    }

    // Starts a round and steps to the first jet's take-off; the jet then
    // stays where it is, the scene's clock held.
    const Aircraft& roundWithAJet()
    {
        EXPECT_TRUE(step());   // the test's clock from here on
        EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_F9, true)));
        for (int i = 0; i < 6 && getAirspace()->getAircraft().empty(); ++i)
            EXPECT_TRUE(step(1000));
        EXPECT_EQ(getAirspace()->getAircraft().size(), 1u);
        getDevice()->getTimer()->stop();
        EXPECT_TRUE(step());
        return *getAirspace()->getAircraft().front();
    }

    // Fires one burst and lets it run out.
    void burst()
    {
        EXPECT_TRUE(app->OnEvent(TestEvents::joystick(0, 0, 1)));
        for (int i = 0; i < 20; ++i)
            EXPECT_TRUE(step());
        app->OnEvent(TestEvents::joystick(0, 0, 0));
    }

    TorvelApp* app = nullptr;
    std::string dataHome;      // XDG_DATA_HOME for this test
    u32 clock = 0xFFFFF000u;   // the real time the app reads: wraps within a few seconds
    u32 passes = 0;
};

} // namespace

TEST_F(TorvelAppTest, BuildsAWorkingTurretAndTakesOverEvents)
{
    ASSERT_TRUE(app->getFireUnit().isReady());
    EXPECT_EQ(getDevice()->getEventReceiver(), app);
    EXPECT_EQ(app->getFireUnit().getRoundsLeft(), 80u);
    EXPECT_TRUE(getDevice()->run());
}

TEST_F(TorvelAppTest, RoundKeysActOnKeyDownWhateverTheModifiers)
{
    Airspace* airspace = getAirspace();
    for (int modifiers = 0; modifiers < 4; ++modifiers) {
        const bool shift = modifiers & 1, control = modifiers & 2;
        EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_F9, true, shift, control)));
        EXPECT_TRUE(airspace->isActive());
        EXPECT_EQ(airspace->getAircraftLeft(), 5u);

        EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_F10, true, shift, control)));
        EXPECT_FALSE(airspace->isActive());
        EXPECT_EQ(airspace->getAircraftLeft(), 5u) << "stop keeps the counters";
    }
}

TEST_F(TorvelAppTest, KeyUpsAndOtherKeysGoToTheFireUnit)
{
    Airspace* airspace = getAirspace();
    for (EKEY_CODE key : {KEY_KEY_T, KEY_F9, KEY_F10, KEY_F12}) {
        // The fire unit answers false for every key; the app passes that on.
        EXPECT_FALSE(app->OnEvent(TestEvents::key(key, false)));
    }
    EXPECT_FALSE(airspace->isActive());
    EXPECT_TRUE(app->getPendingScreenshots().empty());
    EXPECT_TRUE(getDevice()->run());

    EXPECT_FALSE(app->OnEvent(TestEvents::key(KEY_KEY_A, true)));
    EXPECT_FALSE(app->OnEvent(TestEvents::key(KEY_F11, true)));

    SEvent mouse{};
    mouse.EventType = EET_MOUSE_INPUT_EVENT;
    mouse.MouseInput.Event = EMIE_MOUSE_MOVED;
    EXPECT_FALSE(app->OnEvent(mouse));
}

TEST_F(TorvelAppTest, JoystickEventsReachTheTurret)
{
    FireUnit& unit = app->getFireUnit();
    EXPECT_TRUE(app->OnEvent(TestEvents::joystick(0, 0, 1)));
    EXPECT_EQ(unit.getBurstRounds(), 16u);
    EXPECT_EQ(unit.getBurstsLeft(), 4u);
}

TEST_F(TorvelAppTest, F12EndsTheLoopWithoutAnotherFrame)
{
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_F12, true, true, false)));
    EXPECT_FALSE(getDevice()->run());
    app->run(); // returns at once
}

TEST_F(TorvelAppTest, EveryTKeyDownWritesTheNextFrameUnderItsOwnTime)
{
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_KEY_T, true, i == 1, i == 2)));
    ASSERT_EQ(app->getPendingScreenshots().size(), 3u);
    for (u32 i = 0; i < 3; ++i) {
        const core::stringc& name = app->getPendingScreenshots()[i];
        ASSERT_GT(name.size(), 4u);
        EXPECT_EQ(name.subString(name.size() - 4, 4), ".png");
        for (u32 c = 0; c + 4 < name.size(); ++c)
            EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(name[c]))) << name.c_str();
        EXPECT_TRUE(name == "0.png" || name[0] != '0') << name.c_str();
    }
    const core::array<core::stringc> names = app->getPendingScreenshots();
    for (u32 i = 0; i < names.size(); ++i)
        std::remove(names[i].c_str());
    const core::stringc& name = names[0];

    app->frame();
    EXPECT_TRUE(app->getPendingScreenshots().empty());

    video::IImage* shot = getVideoDriver()->createImageFromFile(name);
    ASSERT_NE(shot, nullptr) << "no file " << name.c_str();
    EXPECT_EQ(shot->getDimension(), getVideoDriver()->getScreenSize());
    // A real frame: the sky at the top, the mid-grey clear colour nowhere near black.
    u64 sum = 0;
    const core::dimension2du size = shot->getDimension();
    for (u32 y = 0; y < size.Height; y += 16)
        for (u32 x = 0; x < size.Width; x += 16) {
            const video::SColor c = shot->getPixel(x, y);
            sum += c.getRed() + c.getGreen() + c.getBlue();
        }
    const double mean = double(sum) / (3.0 * (size.Width / 16 + 1) * (size.Height / 16 + 1));
    EXPECT_GT(mean, 40.0);
    shot->drop();
    for (u32 i = 0; i < names.size(); ++i)
        std::remove(names[i].c_str());
}

TEST_F(TorvelAppTest, WithoutAJoystickTheKeysWorkTheTurretEveryFrame)
{
    ASSERT_TRUE(app->usesVirtualStick()) << "no joystick on the test machine";
    FireUnit& unit = app->getFireUnit();

    // Holding Right turns the turret a little more with every frame.
    EXPECT_FALSE(app->OnEvent(TestEvents::key(KEY_RIGHT, true))) << "the stick only watches";
    ASSERT_TRUE(step());
    f32 yaw = unit.getTurretBase()->getRotation().Y;
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(step());
        const f32 now = unit.getTurretBase()->getRotation().Y;
        EXPECT_GT(now, yaw);
        yaw = now;
    }
    app->OnEvent(TestEvents::key(KEY_RIGHT, false));

    // Space fires one burst however long it is held; R starts a reload.
    app->OnEvent(TestEvents::key(KEY_SPACE, true));
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(step());
    EXPECT_EQ(unit.getRoundsLeft(), 64u);
    app->OnEvent(TestEvents::key(KEY_SPACE, false));
    ASSERT_TRUE(step());
    EXPECT_FALSE(unit.isReloading());
    app->OnEvent(TestEvents::key(KEY_KEY_R, true));
    ASSERT_TRUE(step());
    EXPECT_TRUE(unit.isReloading());
}

// Xvfb's software renderer refuses vsync: the loop then sleeps to hold 60
// frames a second instead of drawing as many as it can (the world alone
// takes about 13 ms a frame on an idle machine, well under the 16.7 ms).
TEST_F(TorvelAppTest, WhereVsyncIsRefusedTheLoopHoldsSixtyFramesASecond)
{
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(app->step());
    ASSERT_TRUE(isVsyncRefused()) << "the X server here answers the vsync request with an error";

    const auto begin = std::chrono::steady_clock::now();
    const int frames = 60;
    for (int i = 0; i < frames; ++i)
        ASSERT_TRUE(app->step());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    EXPECT_GE(seconds, (frames - 1) / 60.0);
}

// Between rounds with nobody at the controls the picture does not change, so
// the loop draws almost nothing and the renderer sleeps; a key that changes
// the picture has its frame in the very next pass.
TEST_F(TorvelAppTest, AtRestTheLoopDrawsNothingNewAndAKeyShowsAtOnce)
{
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(step());
    const auto cpuSeconds = [] {
        rusage usage = {};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    };
    const u32 skippedBefore = app->getRestingScreen().getFramesSkipped();
    const double cpuBefore = cpuSeconds();
    const auto begin = std::chrono::steady_clock::now();
    for (int i = 0; i < 90; ++i)
        ASSERT_TRUE(step());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    const double cpuPerSecond = (cpuSeconds() - cpuBefore) / seconds;
    // 90 passes are a second and a half: one frame repaints the window.
    EXPECT_GE(app->getRestingScreen().getFramesSkipped() - skippedBefore, 88u);
    EXPECT_GE(seconds, 89 / 60.0) << "a pass that draws nothing still keeps the pace";
    EXPECT_LE(cpuPerSecond, 0.2);

    // F9 puts the jets to come on the HUD and takes the invitation away.
    const u32 skipped = app->getRestingScreen().getFramesSkipped();
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_F9, true)));
    ASSERT_TRUE(step());
    EXPECT_EQ(app->getRestingScreen().getFramesSkipped(), skipped);
    // Back at rest, T still saves the picture on screen.
    app->OnEvent(TestEvents::key(KEY_F10, true));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(step());
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_KEY_T, true)));
    const core::stringc name = app->getPendingScreenshots()[0];
    ASSERT_TRUE(step());
    EXPECT_TRUE(std::filesystem::exists(name.c_str()));
    std::remove(name.c_str());
}

TEST_F(TorvelAppTest, APauseStopsTheGameClockAndTheSceneClockAndLosesNothing)
{
    ITimer* timer = getDevice()->getTimer();
    Airspace* airspace = getAirspace();
    ASSERT_TRUE(step());
    EXPECT_EQ(app->getGameTime(), clock) << "no pause: the game time is the real time";
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_F9, true)));
    const u32 roundStart = app->getGameTime();
    ASSERT_TRUE(step());

    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_KEY_P, true)));
    EXPECT_TRUE(app->isPaused());
    EXPECT_TRUE(timer->isStopped());
    const u32 pausedAt = app->getGameTime();
    const u32 sceneAt = timer->getTime();
    // Ten minutes of real time, wrapping the real clock on the way.
    for (int i = 0; i < 10; ++i) {
        clock += 60000;
        ASSERT_TRUE(app->step());
        EXPECT_EQ(app->getGameTime(), pausedAt);
    }
    EXPECT_EQ(timer->getTime(), sceneAt);
    EXPECT_TRUE(airspace->getAircraft().empty()) << "no jet comes while paused";

    // Everything but P, Esc, T and F12 is ignored.
    FireUnit& unit = app->getFireUnit();
    app->OnEvent(TestEvents::key(KEY_F10, true));
    EXPECT_TRUE(app->OnEvent(TestEvents::joystick(0, 0, 1)));
    app->OnEvent(TestEvents::key(KEY_SPACE, true));
    app->OnEvent(TestEvents::key(KEY_SPACE, false));
    ASSERT_TRUE(app->step());
    EXPECT_TRUE(airspace->isActive());
    EXPECT_EQ(unit.getRoundsLeft(), 80u);
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_KEY_T, true)));
    EXPECT_EQ(app->getPendingScreenshots().size(), 1u);
    const core::stringc shot = app->getPendingScreenshots()[0];
    ASSERT_TRUE(app->step());
    std::remove(shot.c_str());

    // Esc goes on from where the game stood: the first jet comes 5 s of game
    // time after the start, as if there had been no pause.
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_ESCAPE, true)));
    EXPECT_FALSE(app->isPaused());
    EXPECT_FALSE(timer->isStopped());
    EXPECT_EQ(app->getGameTime(), pausedAt);
    while (app->getGameTime() - roundStart <= 5000) {
        EXPECT_TRUE(airspace->getAircraft().empty());
        ASSERT_TRUE(step(app->getGameTime() - roundStart < 4900 ? 100 : 0));
    }
    EXPECT_EQ(airspace->getAircraft().size(), 1u);
    EXPECT_EQ(airspace->getAircraftLeft(), 4u);
}

TEST_F(TorvelAppTest, AKeyLetGoDuringAPauseIsNotHeldAfterIt)
{
    FireUnit& unit = app->getFireUnit();
    app->OnEvent(TestEvents::key(KEY_RIGHT, true));
    for (int i = 0; i < 30; ++i)
        ASSERT_TRUE(step());
    app->OnEvent(TestEvents::key(KEY_KEY_P, true));
    app->OnEvent(TestEvents::key(KEY_RIGHT, false));
    app->OnEvent(TestEvents::key(KEY_KEY_P, true));
    // The turret coasts to rest (ten seconds) and stays there.
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(step(250));
    const f32 yaw = unit.getTurretBase()->getRotation().Y;
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(step(250));
    EXPECT_NEAR(unit.getTurretBase()->getRotation().Y, yaw, 1e-3f);
}

TEST_F(TorvelAppTest, ThePausedFrameSaysSoAtTheCentre)
{
    // The centre band of a frame, left and right of the sight, whiter when paused.
    auto whiteInBand = [this] {
        EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_KEY_T, true)));
        const core::stringc name = app->getPendingScreenshots()[0];
        EXPECT_TRUE(step());
        video::IImage* shot = getVideoDriver()->createImageFromFile(name);
        std::remove(name.c_str());
        if (shot == nullptr)
            return -1;
        const core::dimension2du size = shot->getDimension();
        int white = 0;
        for (u32 y = size.Height / 2 - 20; y < size.Height / 2 + 20; ++y)
            for (u32 x = size.Width / 2 - 150; x < size.Width / 2 + 150; ++x) {
                const video::SColor c = shot->getPixel(x, y);
                white += c.getRed() > 230 && c.getGreen() > 230 && c.getBlue() > 230;
            }
        shot->drop();
        return white;
    };
    // In a round, where nothing else stands at the centre.
    app->OnEvent(TestEvents::key(KEY_F9, true));
    ASSERT_TRUE(step());
    const int playing = whiteInBand();
    app->OnEvent(TestEvents::key(KEY_KEY_P, true));
    const int paused = whiteInBand();
    EXPECT_GT(paused, playing + 100) << "no word at the centre while paused";
    app->OnEvent(TestEvents::key(KEY_KEY_P, true));
    EXPECT_LT(whiteInBand(), playing + 20);
}

TEST_F(TorvelAppTest, TheListenerLooksWhereTheCameraLooks)
{
    FireUnit& unit = app->getFireUnit();
    auto orientation = [] {
        std::array<float, 6> at{};
        alGetListenerfv(AL_ORIENTATION, at.data());
        return at;
    };
    // Ahead along the world's +Z is OpenAL's -Z: its axes are mirrored in Z.
    ASSERT_TRUE(step());
    std::array<float, 6> at = orientation();
    EXPECT_NEAR(at[0], 0.0f, 1e-3f);
    EXPECT_NEAR(at[2], -1.0f, 1e-2f);
    EXPECT_NEAR(at[4], 1.0f, 1e-3f);

    unit.getTurretBase()->setRotation(core::vector3df(0, 90, 0));
    unit.getGuns()->setRotation(core::vector3df(-85, 0, 0));
    ASSERT_TRUE(step());
    at = orientation();
    const core::vector3df look = (unit.getCamera()->getTarget() - unit.getCamera()->getAbsolutePosition()).normalize();
    const core::vector3df up = unit.getCamera()->getUpVector();
    const core::vector3df heard(at[0], at[1], -at[2]);
    EXPECT_NEAR(heard.X, look.X, 1e-3f);
    EXPECT_NEAR(heard.Y, look.Y, 1e-3f);
    EXPECT_NEAR(heard.Z, look.Z, 1e-3f);
    EXPECT_NEAR(at[3], up.X, 1e-3f);
    EXPECT_NEAR(at[4], up.Y, 1e-3f);
    EXPECT_NEAR(-at[5], up.Z, 1e-3f);
}

TEST_F(TorvelAppTest, AHitShowsItsFireballAndMarkAndSoundsItsBoomOnce)
{
    const Aircraft& jet = roundWithAJet();
    const HitEffects* effects = app->getHitEffects();
    ASSERT_NE(effects, nullptr);
    EXPECT_EQ(effects->getFireballCount(), 0u);

    // Pass by pass, so that the moment of the hit is seen.
    u32 hitAt = 0;
    u32 fireballs = 0;
    bool boomed = false;
    bool marked = false;
    HitMarker::Look look{};
    ASSERT_GT(GunsOnJet::shootDown(*app, jet, [&] {
        const bool flying = jet.isAlive();
        EXPECT_TRUE(step());
        if (flying && !jet.isAlive()) {
            hitAt = app->getGameTime();
            fireballs = static_cast<u32>(effects->getFireballCount());
            boomed = effects->getBoomSourceCount() == 1u && effects->getBoom(0)->isPlaying();
            marked = app->getFireUnit().getHitMarker().lookAt(hitAt, look);
            if (fireballs == 1u) {
                EXPECT_EQ(effects->getFireball(0)->getNode()->getParent(), jet.getNode());
                EXPECT_TRUE(effects->getFireball(0)->getNode()->isVisible());
            }
        }
    }), 0) << "five bursts missed";
    EXPECT_GT(getAirspace()->getPoints(), 1000u);
    EXPECT_EQ(fireballs, 1u);
    EXPECT_TRUE(boomed);
    EXPECT_TRUE(marked);

    // More bursts through the burning jet: nothing new.
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(step(100));
    EXPECT_EQ(effects->getFireballCount(), 0u) << "over after half a second";
    burst();
    EXPECT_EQ(effects->getFireballCount(), 0u);
    EXPECT_EQ(effects->getBoomSourceCount(), 1u);
    EXPECT_FALSE(app->getFireUnit().getHitMarker().lookAt(app->getGameTime(), look));
    EXPECT_EQ(getAirspace()->getRoundHits(), 1u);
}

TEST_F(TorvelAppTest, ARoundRunToItsEndShowsItsPanelAndEntersTheBestRounds)
{
    EXPECT_TRUE(app->getRoundScreen().showsStartHint(app->getGameTime()));
    burst();   // before the round: not counted
    const Aircraft& jet = roundWithAJet();
    EXPECT_EQ(app->getFireUnit().getRoundsLeft(), 80u) << "each round starts with a full magazine";
    EXPECT_FALSE(app->getRoundScreen().showsStartHint(app->getGameTime()));
    const int bursts = GunsOnJet::shootDown(*app, jet, [this] { EXPECT_TRUE(step()); });
    ASSERT_GT(bursts, 0) << "five bursts missed";
    const u32 points = getAirspace()->getPoints();

    // The schedule runs out: five jets, 45 s apart, and 45 s after the last.
    const u32 ended = getAirspace()->getRoundsEnded();
    while (getAirspace()->getRoundsEnded() == ended)
        ASSERT_TRUE(step(2000));
    const u32 endTime = app->getGameTime();
    const RoundScreen& screen = app->getRoundScreen();
    ASSERT_TRUE(screen.showsPanel(endTime));
    EXPECT_EQ(screen.getSummary().hits, 1u);
    EXPECT_EQ(screen.getSummary().aircraft, 5u);
    EXPECT_EQ(screen.getSummary().points, points);
    EXPECT_EQ(screen.getSummary().bursts, static_cast<u32>(bursts));
    EXPECT_EQ(screen.getPlace(), 0);
    ASSERT_EQ(app->getScoreTable().getEntries().size(), 1u);
    EXPECT_EQ(app->getScoreTable().getEntries()[0].points, points);
    EXPECT_EQ(app->getScoreTable().getEntries()[0].hits, 1u);
    const std::string file = dataHome + "/torvel/scores";
    EXPECT_EQ(app->getScoreTable().getPath(), file);
    EXPECT_EQ(TestFiles::readFile(file).rfind("torvel-scores 1\n" + std::to_string(points) + " 1 ", 0), 0u);

    // Ten seconds of game time, then the invitation again.
    ASSERT_TRUE(step(5000));
    EXPECT_TRUE(screen.showsPanel(app->getGameTime()));
    ASSERT_TRUE(step(5000));
    EXPECT_FALSE(screen.showsPanel(app->getGameTime()));
    EXPECT_TRUE(screen.showsStartHint(app->getGameTime()));

    // The next game finds the table as it was left.
    delete app;
    destroyEngineContext();
    app = new TorvelApp();
    ASSERT_EQ(app->getScoreTable().getEntries().size(), 1u);
    EXPECT_EQ(app->getScoreTable().getEntries()[0].points, points);
}

TEST_F(TorvelAppTest, AnAbandonedRoundShowsNoPanelAndEntersNothing)
{
    roundWithAJet();
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_F10, true)));
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(step(1000));
    EXPECT_FALSE(app->getRoundScreen().showsPanel(app->getGameTime()));
    EXPECT_TRUE(app->getRoundScreen().showsStartHint(app->getGameTime()));
    EXPECT_TRUE(app->getScoreTable().getEntries().empty());
    EXPECT_FALSE(std::filesystem::exists(dataHome + "/torvel/scores"));
}

TEST_F(TorvelAppTest, TheRoundAndTheRaidTakeTurnsAndEachStartClearsTheOthersPanel)
{
    ASSERT_TRUE(step());
    const RaidMode& raidMode = *app->getRaidMode();
    app->setRaidNumber(7);
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_F8, true)));
    ASSERT_TRUE(raidMode.isRunning());
    const Raid* raid = raidMode.getRaid();
    EXPECT_EQ(raid->getStartValue(), 7u);
    // Neither F9 nor F8 again breaks into a raid; F10 abandons it, keeping nothing.
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_F9, true)));
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_F8, true)));
    ASSERT_TRUE(step());
    EXPECT_FALSE(getAirspace()->isActive());
    EXPECT_EQ(raidMode.getRaid(), raid);
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_F10, true)));
    EXPECT_EQ(raidMode.getRaid(), nullptr);
    EXPECT_TRUE(app->getRoundScreen().showsStartHint(app->getGameTime()));

    // F8 waits for a round to end too.
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_F9, true)));
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_F8, true)));
    ASSERT_TRUE(step());
    EXPECT_TRUE(getAirspace()->isActive());
    EXPECT_EQ(raidMode.getRaid(), nullptr);
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_F10, true)));

    // A raid left alone is lost within ten minutes; it enters the best raids
    // and its panel holds the screen, the sight hidden under it.
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_F8, true)));
    ASSERT_TRUE(step(600000));
    ASSERT_NE(raidMode.getRaid(), nullptr);
    ASSERT_TRUE(raidMode.getRaid()->isLost());
    ASSERT_EQ(raidMode.getTable().getEntries().size(), 1u);
    EXPECT_EQ(raidMode.getTable().getEntries()[0].points, raidMode.getRaid()->getPoints());
    EXPECT_FALSE(app->getFireUnit().isSightShown());

    // F9 over that panel starts a round, and the raid's panel goes with it.
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_F9, true)));
    ASSERT_TRUE(step());
    EXPECT_TRUE(getAirspace()->isActive());
    EXPECT_EQ(raidMode.getRaid(), nullptr);
    EXPECT_TRUE(app->getFireUnit().isSightShown());
}

TEST_F(TorvelAppTest, APauseOpensTheMenuThatFitsWhoseKeysChangeAndKeepTheSettings)
{
    ASSERT_TRUE(step());
    // Between rounds the invitation's menu, in a round the pause's; going on closes either.
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_ESCAPE, true)));
    EXPECT_EQ(app->getMenu().getScreen(), Menu::Screen::BetweenRounds);
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_RETURN, true)));
    EXPECT_FALSE(app->isPaused()) << "Enter on the first item starts a round";
    EXPECT_TRUE(getAirspace()->isActive());
    EXPECT_EQ(app->getMenu().getScreen(), Menu::Screen::Closed);
    ASSERT_TRUE(step());
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_KEY_P, true)));
    EXPECT_EQ(app->getMenu().getScreen(), Menu::Screen::Pause);
    ASSERT_TRUE(step());

    // Options: the sensitivity a step up, applied and kept at once.
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_DOWN, true)));
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_RETURN, true)));
    ASSERT_EQ(app->getMenu().getScreen(), Menu::Screen::Options);
    ASSERT_TRUE(step());
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_RIGHT, true)));
    EXPECT_FLOAT_EQ(app->getSettings().get().mouseSensitivity, 0.06f);
    Settings kept(app->getSettings().getPath());
    kept.load();
    EXPECT_FLOAT_EQ(kept.get().mouseSensitivity, 0.06f);

    // The fire button pressed on the stick; the stick fires nothing meanwhile.
    for (int row = 0; row < OptionRows::StickFire; ++row)
        app->OnEvent(TestEvents::key(KEY_DOWN, true));
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_RETURN, true)));
    EXPECT_EQ(app->getMenu().getWaiting(), Menu::Waiting::StickButton);
    app->OnEvent(TestEvents::joystick(0, 0, 1u << 5));
    app->OnEvent(TestEvents::joystick(0, 0, 0));
    ASSERT_TRUE(step());
    EXPECT_EQ(app->getSettings().get().joystickFire, 5);
    EXPECT_EQ(app->getFireUnit().getRoundsLeft(), 80u);

    // Esc back to the pause's menu, Esc to play: button 5 fires now, button 0 not.
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_ESCAPE, true)));
    EXPECT_EQ(app->getMenu().getScreen(), Menu::Screen::Pause);
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_ESCAPE, true)));
    EXPECT_FALSE(app->isPaused());
    app->OnEvent(TestEvents::joystick(0, 0, 1u));
    EXPECT_EQ(app->getFireUnit().getBurstRounds(), 0u);
    app->OnEvent(TestEvents::joystick(0, 0, 1u << 5));
    EXPECT_EQ(app->getFireUnit().getBurstRounds(), 16u);

    // F12 quits even while a key is awaited.
    app->OnEvent(TestEvents::key(KEY_KEY_P, true));
    app->OnEvent(TestEvents::key(KEY_DOWN, true));
    app->OnEvent(TestEvents::key(KEY_RETURN, true));
    for (int row = 0; row < OptionRows::FirstKeys; ++row)
        app->OnEvent(TestEvents::key(KEY_DOWN, true));
    app->OnEvent(TestEvents::key(KEY_RETURN, true));
    EXPECT_EQ(app->getMenu().getWaiting(), Menu::Waiting::Key);
    EXPECT_TRUE(app->OnEvent(TestEvents::key(KEY_F12, true)));
    EXPECT_FALSE(getDevice()->run());
    std::remove(app->getSettings().getPath().c_str());
}
