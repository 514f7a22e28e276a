#include "FireUnit.h"

#include "AudioSource.h"
#include "EngineContext.h"

#include <TestEvents.h>

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

// Xlib defines macros (None, Bool, Status) that clash with the headers above.
#include <GL/gl.h>
#include <X11/Xlib.h>

using namespace irr;
using core::vector3df;
namespace fs = std::filesystem;

namespace {

// A small box, enough for the loader to give a mesh with one buffer.
const char* const BOX_OBJ =
    "v -0.3 0 -0.5\nv 0.3 0 -0.5\nv 0.3 0.6 -0.5\nv -0.3 0.6 -0.5\n"
    "v -0.3 0 0.5\nv 0.3 0 0.5\nv 0.3 0.6 0.5\nv -0.3 0.6 0.5\n"
    "f 1 2 3 4\nf 5 8 7 6\nf 1 5 6 2\nf 4 3 7 8\nf 1 4 8 5\nf 2 6 7 3\n";

void writeTone(const fs::path& path)
{
    const std::uint32_t rate = 22050;
    const std::uint32_t samples = rate / 2;
    const std::uint32_t bytes = samples * 2;
    std::ofstream out(path, std::ios::binary);
    auto u32le = [&out](std::uint32_t v) { for (int i = 0; i < 4; ++i) out.put(char(v >> (8 * i))); };
    auto u16le = [&out](std::uint16_t v) { out.put(char(v)); out.put(char(v >> 8)); };
    out.write("RIFF", 4); u32le(36 + bytes); out.write("WAVEfmt ", 8);
    u32le(16); u16le(1); u16le(1); u32le(rate); u32le(rate * 2); u16le(2); u16le(16);
    out.write("data", 4); u32le(bytes);
    for (std::uint32_t i = 0; i < samples; ++i)
        u16le(std::uint16_t(std::int16_t(12000 * std::sin(i * 2 * 3.14159265 * 440 / rate))));
}

// An opaque red square of the crosshair's size, easy to find in a frame.
void writeRedSquare(const fs::path& path)
{
    IrrlichtDevice* null = createDevice(video::EDT_NULL);
    null->getLogger()->setLogLevel(ELL_NONE);
    video::IVideoDriver* driver = null->getVideoDriver();
    video::IImage* image = driver->createImage(video::ECF_A8R8G8B8, core::dimension2du(256, 256));
    image->fill(video::SColor(255, 255, 0, 0));
    driver->writeImageToFile(image, path.c_str());
    image->drop();
    null->drop();
}

using TestEvents::joystick;

bool isRed(const std::uint8_t* rgba) { return rgba[0] > 200 && rgba[1] < 50 && rgba[2] < 50; }

// A game directory of its own per test: bin/ to run from, res/ beside it
// with only what the test puts there.
class FireUnitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "needs an X display";
        char pattern[] = "/tmp/fireunit-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        fs::create_directories(root / "bin");
        fs::create_directories(root / "res");
        home = fs::current_path();
    }

    void TearDown() override
    {
        if (root.empty())
            return;
        if (hasEngineContext())
            getDevice()->setEventReceiver(nullptr);
        unit.reset();
        destroyEngineContext();
        fs::current_path(home);
        fs::remove_all(root);
    }

    void writeResources(bool guns = true, bool sound = true)
    {
        if (guns)
            std::ofstream(root / "res" / "guns.obj") << BOX_OBJ;
        if (sound)
            writeTone(root / "res" / "gunburst.wav");
        writeRedSquare(root / "res" / "crosshair.png");
    }

    // Builds the fire unit from bin/, as the game starts, and counts the rounds.
    void build()
    {
        fs::current_path(root / "bin");
        unit = std::make_unique<FireUnit>();
        unit->setHitCheck([this](const core::line3df& line) {
            shots.push_back(line);
            shotTimes.push_back(unit->getStepTime());
            return false;
        });
        unit->advance(clock);
        getDevice()->setEventReceiver(unit.get());
    }

    // An event as the device delivers it, at the current time.
    void post(const SEvent& event)
    {
        unit->setTime(clock);
        getDevice()->postEventFromUser(event);
    }

    // One frame 1/60 s after the last, as the game's loop makes it.
    void frame(std::vector<std::uint8_t>* centreRow = nullptr)
    {
        ++frames;
        frameAt(clock + (frames * 1000 / 60 - (frames - 1) * 1000 / 60), centreRow);
    }

    // One frame at game time now; when asked, the frame's row through the
    // centre is read back before the buffers swap.
    void frameAt(u32 now, std::vector<std::uint8_t>* centreRow = nullptr)
    {
        clock = now;
        unit->advance(clock);
        video::IVideoDriver* driver = getVideoDriver();
        driver->beginScene(true, true, video::SColor(255, 128, 128, 128));
        getSceneManager()->drawAll();
        unit->update(clock);
        if (centreRow) {
            const core::dimension2du size = driver->getScreenSize();
            centreRow->assign(size.Width * 4, 0);
            glReadBuffer(GL_BACK);
            glReadPixels(0, GLint(size.Height - 1 - size.Height / 2), GLsizei(size.Width), 1, GL_RGBA,
                         GL_UNSIGNED_BYTE, centreRow->data());
        }
        driver->endScene();
    }

    fs::path root;
    fs::path home;
    std::unique_ptr<FireUnit> unit;
    std::vector<core::line3df> shots;   // every line handed to the hit check
    std::vector<u32> shotTimes;         // the step time of each
    u32 clock = 1000;                   // the game time handed to the fire unit
    u32 frames = 0;                     // frames made by frame()
};

} // namespace

TEST_F(FireUnitTest, MissingOrUnreadableGunsStopTheTurretCleanly)
{
    for (const char* content : {static_cast<const char*>(nullptr), "this is no mesh\n"}) {
        SCOPED_TRACE(content ? "unreadable" : "missing");
        if (content)
            std::ofstream(root / "res" / "guns.obj") << content;
        else
            writeResources(false);
        fs::current_path(root / "bin");

        testing::internal::CaptureStdout();
        unit = std::make_unique<FireUnit>();
        // The engine's own log may come first; ours is one whole line, once.
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string line = "Cannot load ../res/guns.obj: the turret cannot be built.\n";
        ASSERT_GE(out.size(), line.size());
        EXPECT_EQ(out.substr(out.size() - line.size()), line);
        EXPECT_TRUE(out.size() == line.size() || out[out.size() - line.size() - 1] == '\n');
        EXPECT_EQ(out.find(line), out.size() - line.size());
        EXPECT_FALSE(unit->isReady());
        // Nothing half built stays in the scene.
        EXPECT_TRUE(getSceneManager()->getRootSceneNode()->getChildren().empty());
        EXPECT_EQ(getSceneManager()->getActiveCamera(), nullptr);
        EXPECT_EQ(unit->getCamera(), nullptr);

        EXPECT_FALSE(unit->OnEvent(joystick(32767, 32767, 5)));
        frame();
        EXPECT_EQ(unit->getRoundsLeft(), 80u);
        unit.reset();
    }
}

TEST_F(FireUnitTest, BuildsTheTurretBranchReadyToFire)
{
    writeResources();
    build();
    ASSERT_TRUE(unit->isReady());
    scene::ISceneManager* scene = getSceneManager();
    EXPECT_EQ(unit->getTurretBase()->getParent(), scene->getRootSceneNode());
    EXPECT_EQ(unit->getGuns()->getParent(), unit->getTurretBase());
    EXPECT_EQ(unit->getCamera()->getParent(), unit->getGuns());
    EXPECT_EQ(scene->getActiveCamera(), unit->getCamera());
    EXPECT_FLOAT_EQ(unit->getCamera()->getNearValue(), 0.01f);
    EXPECT_FLOAT_EQ(unit->getCamera()->getFarValue(), 4000.0f);
    EXPECT_EQ(unit->getRightFlash()->getPosition(), vector3df(0.14f, 1.5f, 1.89f));
    EXPECT_EQ(unit->getLeftFlash()->getPosition(), vector3df(-0.14f, 1.5f, 1.89f));
    EXPECT_EQ(unit->getLeftFlash()->getParent(), unit->getGuns());
    EXPECT_FALSE(unit->getLeftFlash()->isVisible());
    EXPECT_FALSE(unit->getRightFlash()->isVisible());
    EXPECT_NE(unit->getCrosshair(), nullptr);
    ASSERT_NE(unit->getFireSound(), nullptr);
    EXPECT_TRUE(unit->getFireSound()->isValid());
    EXPECT_EQ(unit->getRoundsLeft(), 80u);
    EXPECT_FALSE(unit->isReloading());

    // Gone with the fire unit: the camera's animator; the nodes stay.
    const u32 nodes = scene->getRootSceneNode()->getChildren().size();
    scene::ICameraSceneNode* camera = unit->getCamera();
    EXPECT_EQ(camera->getAnimators().size(), 1u);
    getDevice()->setEventReceiver(nullptr);
    unit.reset();
    EXPECT_TRUE(camera->getAnimators().empty());
    EXPECT_EQ(scene->getRootSceneNode()->getChildren().size(), nodes);
}

TEST_F(FireUnitTest, ABurstFiresSixteenRoundsWithAlternatingFlashes)
{
    writeResources();
    build();
    post(joystick(0, 0, 1));
    EXPECT_TRUE(unit->getFireSound()->isPlaying());
    EXPECT_EQ(unit->getRoundsLeft(), 80u);

    for (u32 rounds = 16; rounds >= 1; --rounds) {
        // Held, and pressed anew mid-burst: neither queues another burst.
        post(joystick(0, 0, rounds == 9 ? 0 : 1));
        frame();
        EXPECT_EQ(unit->getRightFlash()->isVisible(), rounds % 4 == 0) << rounds;
        EXPECT_EQ(unit->getLeftFlash()->isVisible(), rounds % 4 == 2) << rounds;
    }
    EXPECT_EQ(shots.size(), 16u);
    EXPECT_EQ(unit->getRoundsLeft(), 64u);
    frame();
    EXPECT_EQ(shots.size(), 16u);
    EXPECT_FALSE(unit->getLeftFlash()->isVisible());
    EXPECT_FALSE(unit->getRightFlash()->isVisible());
    EXPECT_EQ(unit->getShotLine(), shots.back());
}

TEST_F(FireUnitTest, BurstsGoOnInSilenceWithoutASoundFile)
{
    writeResources(true, false);
    build();
    ASSERT_NE(unit->getFireSound(), nullptr);
    EXPECT_FALSE(unit->getFireSound()->isValid());
    post(joystick(0, 0, 1));
    for (int i = 0; i < 16; ++i)
        frame();
    EXPECT_EQ(shots.size(), 16u);
    EXPECT_EQ(unit->getRoundsLeft(), 64u);
}

TEST_F(FireUnitTest, RoundsFollowTheAim)
{
    writeResources();
    build();
    unit->getTurretBase()->setRotation(vector3df(0, 90, 0));
    frame();
    post(joystick(0, 0, 1));
    frame();
    ASSERT_EQ(shots.size(), 1u);
    EXPECT_NEAR(shots[0].start.X, 0.0f, 1e-4f);
    EXPECT_NEAR(shots[0].start.Y, 1.75f, 1e-4f);
    EXPECT_NEAR(shots[0].end.X, 3999.4f, 0.05f);
    EXPECT_NEAR(shots[0].end.Y, -70.0f, 0.05f);
    EXPECT_NEAR(shots[0].end.Z, 0.0f, 0.01f);

    unit->getTurretBase()->setRotation(vector3df(0, 0, 0));
    unit->getGuns()->setRotation(vector3df(-85, 0, 0));
    frame();
    ASSERT_EQ(shots.size(), 2u);
    EXPECT_NEAR(shots[1].start.Y, 0.1525f, 1e-3f);
    EXPECT_NEAR(shots[1].start.Z, -1.7433f, 1e-3f);
    EXPECT_NEAR(shots[1].end.Y, 3978.1f, 0.2f);
    EXPECT_NEAR(shots[1].end.Z, 418.3f, 0.2f);
}

TEST_F(FireUnitTest, TheStickTurnsAndElevatesTheTurretStepByStep)
{
    writeResources();
    build();
    EXPECT_FALSE(unit->OnEvent(TestEvents::key(KEY_LEFT, true)));
    EXPECT_EQ(unit->getTurretBase()->getRotation(), vector3df(0, 0, 0));

    // Stick right and pulled back: the event only sets the stick; the next
    // step turns the turret right and raises the guns.
    EXPECT_TRUE(unit->OnEvent(joystick(32767, 32767, 0)));
    EXPECT_EQ(unit->getTurretBase()->getRotation(), vector3df(0, 0, 0));
    frame();
    EXPECT_GT(unit->getTurretBase()->getRotation().Y, 0.0f);
    EXPECT_LT(unit->getGuns()->getRotation().X, 0.0f);
    // However many events come between two steps, a step moves the turret once.
    for (int i = 0; i < 50; ++i)
        post(joystick(32767, 32767, 0));
    EXPECT_NEAR(unit->getYawRate(), -0.05f, 1e-3f);
    for (int i = 0; i < 300; ++i)
        frame();
    EXPECT_NEAR(unit->getYawRate(), -1.0f, 1e-3f);
    EXPECT_EQ(unit->getGuns()->getRotation().X, -85.0f);
    const f32 yaw = unit->getTurretBase()->getRotation().Y;
    EXPECT_GE(yaw, 0.0f);
    EXPECT_LE(yaw, 360.0f);
    // Only the turret turns and only the guns elevate.
    EXPECT_EQ(unit->getTurretBase()->getRotation().X, 0.0f);
    EXPECT_EQ(unit->getGuns()->getRotation().Y, 0.0f);

    // The frame draws from the aim of its last step.
    const vector3df look = unit->getCamera()->getTarget();
    EXPECT_NEAR(look.Y, 99.62f, 0.05f);

    // Centred, it coasts: still turning after the stick lets go.
    post(joystick(0, 0, 0));
    frame();
    const f32 coasting = unit->getTurretBase()->getRotation().Y;
    frame();
    EXPECT_NE(unit->getTurretBase()->getRotation().Y, coasting);
    EXPECT_NEAR(unit->getYawRate(), -1.0f * 0.95f * 0.95f, 2e-3f);
}

TEST_F(FireUnitTest, TheMouseNudgeTurnsAtTheNextStepWithinTheLimits)
{
    writeResources();
    build();
    unit->nudge(10.0f, 4.0f);
    unit->nudge(2.5f, 0.0f);
    EXPECT_EQ(unit->getTurretBase()->getRotation().Y, 0.0f) << "not before the step";
    frame();
    EXPECT_NEAR(unit->getTurretBase()->getRotation().Y, 12.5f, 1e-4f);
    EXPECT_NEAR(unit->getGuns()->getRotation().X, -4.0f, 1e-4f);
    frame();
    EXPECT_NEAR(unit->getTurretBase()->getRotation().Y, 12.5f, 1e-4f) << "used up";

    unit->nudge(-20.0f, -30.0f);
    frame();
    EXPECT_NEAR(unit->getTurretBase()->getRotation().Y, 352.5f, 1e-3f);
    EXPECT_EQ(unit->getGuns()->getRotation().X, 5.0f);
    // A wild sweep is held to half a turn a step, and nonsense to none.
    unit->nudge(1e9f, 1e9f);
    frame();
    EXPECT_NEAR(unit->getTurretBase()->getRotation().Y, 172.5f, 1e-3f);
    EXPECT_EQ(unit->getGuns()->getRotation().X, -85.0f);
    unit->nudge(std::nanf(""), std::nanf(""));
    frame();
    EXPECT_NEAR(unit->getTurretBase()->getRotation().Y, 172.5f, 1e-3f);
    EXPECT_EQ(unit->getGuns()->getRotation().X, -85.0f);
}

TEST_F(FireUnitTest, ReloadRunsOnTheGameTimeAcrossTheWrap)
{
    writeResources();
    build();
    frameAt(0xFFFFFFFFu - 2000u);
    // Trigger and reload together: a burst and then a reload, timed at the event.
    post(joystick(0, 0, 1 | 4));
    EXPECT_TRUE(unit->isReloading());
    EXPECT_EQ(unit->getBurstRounds(), 16u);
    for (int i = 0; i < 16; ++i) {
        frame();
        EXPECT_TRUE(unit->isReloading());
    }
    EXPECT_EQ(shots.size(), 16u);
    EXPECT_EQ(unit->getRoundsLeft(), 64u);

    // Held through the wrap: the end time stays, no burst can start.
    clock = 5000;
    post(joystick(0, 0, 4));
    post(joystick(0, 0, 1 | 4));
    frame();
    EXPECT_EQ(shots.size(), 16u);
    EXPECT_TRUE(unit->isReloading());

    frameAt(0xFFFFFFFFu - 2000u + 15000u);
    EXPECT_TRUE(unit->isReloading());
    frameAt(clock + 1);
    EXPECT_FALSE(unit->isReloading());
    EXPECT_EQ(unit->getRoundsLeft(), 80u);
}

TEST_F(FireUnitTest, AStallIsMadeUpForAQuarterOfASecondAtMost)
{
    writeResources();
    build();
    post(joystick(32767, 0, 1));
    frameAt(clock + 100);     // six steps due
    EXPECT_EQ(shots.size(), 6u);
    EXPECT_EQ(unit->getBurstRounds(), 10u);
    frameAt(clock + 5000);    // a five-second stall: fifteen steps, no more
    EXPECT_EQ(shots.size(), 16u);
    const f32 yaw = unit->getTurretBase()->getRotation().Y;
    // 21 steps of a rate easing towards 1 degree a step: well under 21 degrees.
    EXPECT_GT(yaw, 5.0f);
    EXPECT_LT(yaw, 21.0f);
    frameAt(clock - 3000);    // the clock went back: nothing happens
    EXPECT_EQ(unit->getTurretBase()->getRotation().Y, yaw);
    // Each round keeps the moment of its own step, 1/60 s apart.
    for (std::size_t i = 1; i < 6; ++i)
        EXPECT_NEAR(double(shotTimes[i] - shotTimes[i - 1]), 1000.0 / 60.0, 1.0) << i;
}

// The rules that time the turret give the same game at any frame rate: the
// turn at full deflection, a burst's length and its sixteen rounds.
TEST_F(FireUnitTest, TurnRateAndBurstsAreTheSameAtAnyFrameRate)
{
    writeResources();
    build();
    struct Figures { double turnRate, burstMs; std::size_t rounds; };
    auto measure = [this](u32 fps) {
        // A fresh turret state: centred stick, coasted to rest, full magazine.
        unit->getTurretBase()->setRotation(vector3df(0, 0, 0));
        u32 frame = 0;
        const u32 start = clock;
        auto nextFrame = [&] {
            ++frame;
            frameAt(start + u32(u64(frame) * 1000 / fps));
        };
        // Full deflection until the smoothing has settled (2 s), then 3 s measured.
        post(joystick(32767, 0, 0));
        while (clock - start < 2000) {
            post(joystick(32767, 0, 0));
            nextFrame();
        }
        f32 lastYaw = unit->getTurretBase()->getRotation().Y;
        double turned = 0.0;
        const u32 from = clock;
        while (clock - from < 3000) {
            post(joystick(32767, 0, 0));
            nextFrame();
            const f32 yaw = unit->getTurretBase()->getRotation().Y;
            turned += yaw >= lastYaw ? yaw - lastYaw : yaw + 360.0f - lastYaw;
            lastYaw = yaw;
        }
        const double turnRate = turned * 1000.0 / double(clock - from);
        // Let go, then one burst.
        while (clock - from < 5000) {
            post(joystick(0, 0, 0));
            nextFrame();
        }
        shots.clear();
        shotTimes.clear();
        post(joystick(0, 0, 1));
        const u32 pressed = clock;
        while (clock - pressed < 1000) {
            post(joystick(0, 0, 1));
            nextFrame();
        }
        post(joystick(0, 0, 0));
        nextFrame();
        const double burstMs = shotTimes.empty() ? 0.0 : double(shotTimes.back() - shotTimes.front());
        return Figures{turnRate, burstMs, shots.size()};
    };
    const Figures reference = measure(60);
    std::printf("60 fps: %.2f deg/s, burst %.0f ms, %zu rounds\n", reference.turnRate, reference.burstMs,
                reference.rounds);
    EXPECT_NEAR(reference.turnRate, 60.0, 0.5);
    EXPECT_NEAR(reference.burstMs, 250.0, 1.0);
    EXPECT_EQ(reference.rounds, 16u);
    for (u32 fps : {20u, 30u, 144u, 240u}) {
        const Figures f = measure(fps);
        EXPECT_NEAR(f.turnRate, reference.turnRate, 0.03 * reference.turnRate) << fps << " fps";
        EXPECT_NEAR(f.burstMs, reference.burstMs, 0.03 * reference.burstMs) << fps << " fps";
        EXPECT_EQ(f.rounds, 16u) << fps << " fps";
        std::printf("%u fps: %.2f deg/s, burst %.0f ms, %zu rounds\n", fps, f.turnRate, f.burstMs, f.rounds);
    }
    EXPECT_EQ(unit->getRoundsLeft(), 0u) << "five bursts fired, one at each rate";
}

TEST_F(FireUnitTest, ResizeSetsTheAspectOnceAndRecentresTheCrosshair)
{
    writeResources();
    build();
    video::IVideoDriver* driver = getVideoDriver();
    std::vector<std::uint8_t> row;
    frame(&row);
    const core::dimension2du start = driver->getScreenSize();
    ASSERT_EQ(row.size(), start.Width * 4);
    EXPECT_TRUE(isRed(&row[(start.Width / 2) * 4]));

    const video::SExposedVideoData& window = driver->getExposedVideoData();
    Display* display = static_cast<Display*>(window.OpenGLLinux.X11Display);
    XResizeWindow(display, Window(window.OpenGLLinux.X11Window), 800, 600);
    XSync(display, False);
    for (int i = 0; i < 100 && driver->getScreenSize() != core::dimension2du(800, 600); ++i) {
        getDevice()->run();
        usleep(10000);
    }
    ASSERT_EQ(driver->getScreenSize(), core::dimension2du(800, 600));

    frame(&row);
    EXPECT_FLOAT_EQ(unit->getCamera()->getAspectRatio(), 800.0f / 600.0f);
    // The square spans 272..527 on the centre row, now that the centre is 400.
    EXPECT_TRUE(isRed(&row[272 * 4]));
    EXPECT_TRUE(isRed(&row[527 * 4]));
    EXPECT_FALSE(isRed(&row[270 * 4]));
    EXPECT_FALSE(isRed(&row[529 * 4]));

    // Set once: an unchanged size leaves the camera's aspect alone.
    unit->getCamera()->setAspectRatio(2.0f);
    frame();
    EXPECT_FLOAT_EQ(unit->getCamera()->getAspectRatio(), 2.0f);
}

TEST_F(FireUnitTest, AMinimisedWindowKeepsTheAspectFinite)
{
    writeResources();
    build();
    video::IVideoDriver* driver = getVideoDriver();
    frame();
    const f32 before = unit->getCamera()->getAspectRatio();
    driver->OnResize(core::dimension2du(1366, 0));
    frame();
    EXPECT_FLOAT_EQ(unit->getCamera()->getAspectRatio(), before);
    EXPECT_TRUE(std::isfinite(unit->getCamera()->getProjectionMatrix()[0]));

    driver->OnResize(core::dimension2du(1200, 600));
    frame();
    EXPECT_FLOAT_EQ(unit->getCamera()->getAspectRatio(), 2.0f);
}
