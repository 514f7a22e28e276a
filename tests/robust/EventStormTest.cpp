// A hundred thousand random events through the application's event handler,
// with frames in between: joystick axes at and around their extremes, every
// button pattern, keys (known, unknown and out of range), mouse input,
// window sizes down to nothing, round starts and stops and screenshots. The
// turret must stay within its limits after every event and every frame.

#include "TorvelApp.h"

#include "Airspace.h"
#include "EngineContext.h"

#include <TestEvents.h>

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <random>
#include <string>

using namespace irr;
namespace fs = std::filesystem;

namespace {

const int EVENT_COUNT = 100000;
const int EVENTS_PER_FRAME = 50;

// Runs the test in a play directory of its own (bin/ beside a link to the
// baked res/), so the screenshots that T writes go away with it.
class PlayDir {
public:
    PlayDir()
    {
        home = fs::current_path();
        const fs::path res = fs::canonical(home / ".." / "res");
        std::string pattern = (fs::temp_directory_path() / "torvel-events-XXXXXX").string();
        root = mkdtemp(pattern.data());
        fs::create_directory(root / "bin");
        fs::create_directory_symlink(res, root / "res");
        fs::current_path(root / "bin");
    }
    ~PlayDir()
    {
        fs::current_path(home);
        fs::remove_all(root);
    }
    fs::path bin() const { return root / "bin"; }

private:
    fs::path home;  // working directory to return to
    fs::path root;  // the private play directory
};

// Draws the events. Values are weighted towards the edges, where the faults live.
class EventSource {
public:
    explicit EventSource(std::mt19937& random) : random(random) {}

    int pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random); }
    u32 anyU32() { return std::uniform_int_distribution<u32>()(random); }

    // What the mouse hands the turret between two frames, in degrees: mostly
    // a hand's sweep, now and then a wild or senseless value.
    f32 mouseDegrees()
    {
        const int kind = pick(50);
        if (kind == 0)
            return std::numeric_limits<f32>::quiet_NaN();
        if (kind == 1)
            return pick(2) ? std::numeric_limits<f32>::infinity() : -std::numeric_limits<f32>::max();
        return std::uniform_real_distribution<f32>(-40.0f, 40.0f)(random);
    }

    s16 axis()
    {
        static const s16 edges[] = {-32768, -32767, -32766, -32765, 32767, 32766, 32765, 32764,
                                    0, 1, -1, 327, 328, -327, -328, 329, -329};
        switch (pick(3)) {
        case 0: return edges[pick(sizeof edges / sizeof edges[0])];
        case 1: return s16(pick(2) ? 32767 - pick(64) : -32768 + pick(64));
        default: return s16(std::uniform_int_distribution<int>(-32768, 32767)(random));
        }
    }

    SEvent joystick()
    {
        SEvent event{};
        event.EventType = EET_JOYSTICK_INPUT_EVENT;
        for (s16& a : event.JoystickEvent.Axis)
            a = axis();
        // Most patterns leave the reload button alone: held, it would keep the
        // guns reloading and the trigger would never be tried.
        const int pattern = pick(10000);
        if (pattern < 1)
            event.JoystickEvent.ButtonStates = anyU32() | 4u;
        else if (pattern < 3000)
            event.JoystickEvent.ButtonStates = anyU32() & ~4u;
        else
            event.JoystickEvent.ButtonStates = u32(pick(2));
        event.JoystickEvent.POV = u16(pick(3) ? 65535 : pick(36000));
        event.JoystickEvent.Joystick = u8(pick(4) ? 0 : pick(256));
        return event;
    }

    SEvent key()
    {
        static const EKEY_CODE stickKeys[] = {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN, KEY_KEY_A,
                                              KEY_KEY_D, KEY_KEY_W, KEY_KEY_S, KEY_SPACE};
        SEvent event{};
        event.EventType = EET_KEY_INPUT_EVENT;
        const int kind = pick(100);
        u32 code;
        // F9 brings a fresh magazine with its round, so it comes seldom
        // enough for the magazine to run dry between two of them.
        if (kind < 69)
            code = stickKeys[pick(sizeof stickKeys / sizeof stickKeys[0])];
        else if (kind < 70)
            code = pick(2) ? KEY_F9 : KEY_F10;
        else if (kind < 72)
            code = KEY_KEY_CODES_COUNT;  // one past the engine's key table
        else
            code = pick(KEY_KEY_CODES_COUNT);
        // F12 would close the device; T (a screenshot) and R (a reload) come
        // on their own, now and then.
        if (code == KEY_F12 || code == KEY_KEY_T || code == KEY_KEY_R)
            code = KEY_SPACE;
        event.KeyInput.Key = EKEY_CODE(code);
        event.KeyInput.PressedDown = pick(2);
        event.KeyInput.Shift = pick(2);
        event.KeyInput.Control = pick(2);
        event.KeyInput.Char = wchar_t(pick(0x10000));
        return event;
    }

    SEvent mouse()
    {
        SEvent event{};
        event.EventType = EET_MOUSE_INPUT_EVENT;
        event.MouseInput.Event = EMOUSE_INPUT_EVENT(pick(EMIE_COUNT + 1));
        // The right button reloads: pressed only now and then.
        if (event.MouseInput.Event == EMIE_RMOUSE_PRESSED_DOWN && pick(500) != 0)
            event.MouseInput.Event = EMIE_RMOUSE_LEFT_UP;
        event.MouseInput.X = s32(anyU32());
        event.MouseInput.Y = s32(anyU32());
        event.MouseInput.Wheel = f32(pick(2001) - 1000) / 10.0f;
        event.MouseInput.Shift = pick(2);
        event.MouseInput.Control = pick(2);
        event.MouseInput.ButtonStates = anyU32();
        return event;
    }

    SEvent other()
    {
        SEvent event{};
        switch (pick(3)) {
        case 0:
            event.EventType = EET_GUI_EVENT;
            event.GUIEvent.EventType = gui::EGUI_EVENT_TYPE(pick(gui::EGET_COUNT));
            break;
        case 1:
            event.EventType = EET_USER_EVENT;
            event.UserEvent.UserData1 = s32(anyU32());
            event.UserEvent.UserData2 = s32(anyU32());
            break;
        default:
            event.EventType = EET_LOG_TEXT_EVENT;
            event.LogEvent.Text = pick(2) ? "event storm: a log line" : nullptr;
            event.LogEvent.Level = ELOG_LEVEL(pick(ELL_NONE + 1));
            break;
        }
        return event;
    }

    core::dimension2du screenSize()
    {
        static const u32 sides[] = {0, 1, 2, 3, 7, 255, 256, 257, 639, 768, 1365, 1366, 1367, 1921, 4095};
        const u32 count = sizeof sides / sizeof sides[0];
        return core::dimension2du(sides[pick(count)], sides[pick(count)]);
    }

private:
    std::mt19937& random;
};

// What the storm reached, so a run that never pushed the turret to its limits cannot pass.
struct Reached {
    bool pitchTop = false, pitchBottom = false, yawWrapped = false;
    bool emptied = false, reloaded = false, zeroHeight = false, screenshot = false;
    u32 burstsStarted = 0;
};

} // namespace

class EventStormTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (app) {
            getAirspace()->stop();
            delete app;
        }
        if (hasEngineContext())
            destroyEngineContext();
    }

    // The turret's limits, checked after every event and every frame.
    ::testing::AssertionResult withinLimits(const char* when, int index)
    {
        const FireUnit& unit = app->getFireUnit();
        const f32 yaw = unit.getTurretBase()->getRotation().Y;
        const f32 pitch = unit.getGuns()->getRotation().X;
        auto failure = [&] {
            return ::testing::AssertionFailure() << "after " << when << " " << index << ": yaw " << yaw
                                                 << ", elevation " << pitch << ", burst "
                                                 << unit.getBurstRounds() << ", bursts left "
                                                 << unit.getBurstsLeft();
        };
        if (!(yaw >= 0.0f && yaw <= 360.0f) || !(pitch >= -85.0f && pitch <= 5.0f))
            return failure();
        if (unit.getBurstRounds() > 16 || unit.getBurstsLeft() > 5)
            return failure();
        return ::testing::AssertionSuccess();
    }

    TorvelApp* app = nullptr;
};

TEST_F(EventStormTest, TurretStaysWithinItsLimitsThroughAHundredThousandEvents)
{
    PlayDir playDir;
    app = new TorvelApp();
    ASSERT_TRUE(app->getFireUnit().isReady());
    FireUnit& unit = app->getFireUnit();

    // The game's clock moves a frame's worth per frame and now and then
    // jumps, wraps or goes back, so reloads begin and end many times. P and
    // Esc among the keys pause and resume the game at random.
    u32 clock = 0xFFFF0000u;
    app->setClock([&clock] { return clock; });
    app->setFollowsFocus(false);

    std::mt19937 random(20261208u);  // fixed start value: every run sees the same storm
    EventSource source(random);
    Reached reached;
    f32 lastYaw = unit.getTurretBase()->getRotation().Y;
    u32 lastBursts = unit.getBurstsLeft();
    const auto started = std::chrono::steady_clock::now();

    for (int i = 0; i < EVENT_COUNT; ++i) {
        const int kind = source.pick(1000);
        if (kind < 10) {
            const core::dimension2du size = source.screenSize();
            getVideoDriver()->OnResize(size);
            reached.zeroHeight = reached.zeroHeight || size.Height == 0;
        } else {
            SEvent event;
            if (kind < 450)
                event = source.joystick();
            else if (kind < 780)
                event = source.key();
            else if (kind < 782)
                event = TestEvents::key(KEY_KEY_R, source.pick(50) == 0);
            else if (kind < 783)
                event = TestEvents::key(KEY_KEY_T, source.pick(5) == 0);
            else if (kind < 950)
                event = source.mouse();
            else
                event = source.other();
            if (event.EventType == EET_KEY_INPUT_EVENT && event.KeyInput.Key == KEY_KEY_T &&
                event.KeyInput.PressedDown)
                reached.screenshot = true;
            // Enter on the menu's Quit ends the game as F12 does, and the
            // storm with it: that one key goes to the trigger instead.
            const Menu& menu = app->getMenu();
            if (event.EventType == EET_KEY_INPUT_EVENT && event.KeyInput.Key == KEY_RETURN &&
                menu.getScreen() != Menu::Screen::Options && menu.getScreen() != Menu::Screen::Closed &&
                menu.getWaiting() == Menu::Waiting::Nothing &&
                Menu::itemsOf(menu.getScreen())[std::size_t(menu.getSelected())] == Menu::Item::Quit)
                event.KeyInput.Key = KEY_SPACE;
            const bool consumed = app->OnEvent(event);
            // Joystick events belong to the fire unit, which takes every one.
            if (event.EventType == EET_JOYSTICK_INPUT_EVENT) {
                ASSERT_TRUE(consumed) << "event " << i;
            }
        }
        ASSERT_TRUE(withinLimits("event", i));

        if (i % EVENTS_PER_FRAME == EVENTS_PER_FRAME - 1) {
            const int jump = source.pick(200);
            clock += jump == 0 ? source.anyU32() : jump == 1 ? u32(-5000) : 50u;
            if (source.pick(4) == 0) {
                const f32 yawDegrees = source.mouseDegrees();
                unit.nudge(yawDegrees, source.mouseDegrees());
            }
            ASSERT_TRUE(app->step()) << "the device stopped at event " << i;
            ASSERT_TRUE(withinLimits("frame at event", i));
        }

        const f32 yaw = unit.getTurretBase()->getRotation().Y;
        const f32 pitch = unit.getGuns()->getRotation().X;
        reached.pitchTop = reached.pitchTop || pitch == -85.0f;
        reached.pitchBottom = reached.pitchBottom || pitch == 5.0f;
        reached.yawWrapped = reached.yawWrapped || std::abs(yaw - lastYaw) > 180.0f;
        reached.emptied = reached.emptied || unit.getBurstsLeft() == 0;
        reached.reloaded = reached.reloaded || (lastBursts < 5 && unit.getBurstsLeft() == 5);
        if (unit.getBurstsLeft() + 1 == lastBursts)
            ++reached.burstsStarted;
        lastYaw = yaw;
        lastBursts = unit.getBurstsLeft();
    }

    // The camera rides on the guns whatever happened: one unit and three quarters from the pivot.
    getVideoDriver()->OnResize(core::dimension2du(1366, 768));
    ASSERT_TRUE(app->step());
    EXPECT_NEAR(unit.getCamera()->getAbsolutePosition().getLength(), 1.75f, 0.01f);

    EXPECT_TRUE(reached.pitchTop && reached.pitchBottom) << "the guns never met both elevation limits";
    EXPECT_TRUE(reached.yawWrapped) << "the turret never turned across north";
    EXPECT_TRUE(reached.emptied && reached.reloaded) << "the magazine was never emptied and refilled";
    EXPECT_TRUE(reached.zeroHeight && reached.screenshot);
    EXPECT_GT(reached.burstsStarted, 10u);
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("%d events, %d frames in %.1f s; %u bursts fired\n", EVENT_COUNT,
                EVENT_COUNT / EVENTS_PER_FRAME, seconds, reached.burstsStarted);
}
