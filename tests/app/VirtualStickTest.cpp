#include "VirtualStick.h"

#include <TestEvents.h>

#include <gtest/gtest.h>

using namespace irr;

namespace {

using Axis = SEvent::SJoystickEvent;

using TestEvents::key;
using TestEvents::mouse;

struct Stick {
    s16 x, y;
    u32 buttons;
};

Stick read(const SEvent& event)
{
    EXPECT_EQ(event.EventType, EET_JOYSTICK_INPUT_EVENT);
    return {event.JoystickEvent.Axis[Axis::AXIS_X], event.JoystickEvent.Axis[Axis::AXIS_Y],
            event.JoystickEvent.ButtonStates};
}

} // namespace

TEST(VirtualStick, HeldControlsGiveFullDeflectionAndButtonBits)
{
    struct Case { u32 held; s16 x, y; u32 buttons; };
    const Case cases[] = {
        {0, 0, 0, 0},
        {VirtualStick::TurnRight, 32767, 0, 0},
        {VirtualStick::TurnLeft, -32767, 0, 0},
        {VirtualStick::Raise, 0, 32767, 0},   // pulled back: the guns rise
        {VirtualStick::Lower, 0, -32767, 0},
        {VirtualStick::Fire, 0, 0, 1},
        {VirtualStick::Reload, 0, 0, 4},
        {VirtualStick::Fire | VirtualStick::Reload, 0, 0, 5},
        {VirtualStick::TurnLeft | VirtualStick::TurnRight, 0, 0, 0},
        {VirtualStick::Raise | VirtualStick::Lower | VirtualStick::TurnRight, 32767, 0, 0},
        {VirtualStick::TurnLeft | VirtualStick::Lower | VirtualStick::Fire, -32767, -32767, 1},
    };
    for (const Case& c : cases) {
        const Stick s = read(VirtualStick::eventFor(c.held));
        EXPECT_EQ(s.x, c.x) << "held " << c.held;
        EXPECT_EQ(s.y, c.y) << "held " << c.held;
        EXPECT_EQ(s.buttons, c.buttons) << "held " << c.held;
    }
}

TEST(VirtualStick, KeysAndMouseButtonsArePressedAndReleased)
{
    // Times a second apart: every direction has reached full deflection.
    VirtualStick stick;
    EXPECT_EQ(stick.held(), 0u);

    stick.watch(key(KEY_RIGHT, true), 0);
    EXPECT_EQ(read(stick.nextEvent(1000)).x, 32767);
    stick.watch(key(KEY_KEY_A, true), 1000);
    EXPECT_EQ(read(stick.nextEvent(2000)).x, 0) << "opposite keys cancel";
    stick.watch(key(KEY_RIGHT, false), 2000);
    EXPECT_EQ(read(stick.nextEvent(3000)).x, -32767);
    stick.watch(key(KEY_KEY_A, false), 3000);
    EXPECT_EQ(stick.held(), 0u);

    // Two keys for one control: releasing one keeps the other working.
    stick.watch(key(KEY_DOWN, true), 3000);
    stick.watch(key(KEY_KEY_S, true), 3000);
    stick.watch(key(KEY_DOWN, false), 3000);
    EXPECT_EQ(read(stick.nextEvent(4000)).y, 32767);
    stick.watch(key(KEY_KEY_S, false), 4000);
    stick.watch(key(KEY_KEY_W, true), 4000);
    EXPECT_EQ(read(stick.nextEvent(5000)).y, -32767);
    stick.watch(key(KEY_KEY_W, false), 5000);

    stick.watch(key(KEY_SPACE, true), 5000);
    stick.watch(mouse(EMIE_RMOUSE_PRESSED_DOWN), 5000);
    EXPECT_EQ(read(stick.nextEvent(5000)).buttons, 5u);
    stick.watch(key(KEY_SPACE, false), 5000);
    EXPECT_EQ(read(stick.nextEvent(5000)).buttons, 4u);
    stick.watch(mouse(EMIE_LMOUSE_PRESSED_DOWN), 5000);
    stick.watch(mouse(EMIE_MOUSE_MOVED), 5000);
    EXPECT_EQ(read(stick.nextEvent(5000)).buttons, 5u);
    stick.watch(mouse(EMIE_RMOUSE_LEFT_UP), 5000);
    stick.watch(mouse(EMIE_LMOUSE_LEFT_UP), 5000);
    stick.watch(key(KEY_KEY_R, true), 5000);
    EXPECT_EQ(read(stick.nextEvent(5000)).buttons, 4u);
    stick.watch(key(KEY_KEY_R, false), 5000);

    // Keys that work nothing, repeats and odd codes leave it alone.
    stick.watch(key(KEY_F9, true), 5000);
    stick.watch(key(KEY_KEY_T, true), 5000);
    stick.watch(key(EKEY_CODE(0xFF), true), 5000);
    EXPECT_EQ(stick.held(), 0u);
}

TEST(VirtualStick, ATapBetweenTwoFramesStillCountsOnce)
{
    VirtualStick stick;
    stick.watch(key(KEY_SPACE, true), 100);
    stick.watch(key(KEY_SPACE, false), 100);
    stick.watch(mouse(EMIE_RMOUSE_PRESSED_DOWN), 100);
    stick.watch(mouse(EMIE_RMOUSE_LEFT_UP), 100);
    stick.watch(key(KEY_LEFT, true), 100);
    stick.watch(key(KEY_LEFT, false), 100);
    const Stick tapped = read(stick.nextEvent(100));
    EXPECT_EQ(tapped.buttons, 5u);
    EXPECT_LT(tapped.x, 0);
    const Stick after = read(stick.nextEvent(117));
    EXPECT_EQ(after.buttons, 0u);
    EXPECT_EQ(after.x, 0);
}

TEST(VirtualStick, DirectionKeysRampFromAFineTouchToFullDeflection)
{
    // The ramp: just out of the dead zone, then with the square of the time.
    EXPECT_FLOAT_EQ(VirtualStick::keyDeflection(0, false), VirtualStick::FINE_DEFLECTION);
    EXPECT_GT(VirtualStick::FINE_DEFLECTION * 32767.0f, 0.01f * 32767.0f);
    f32 last = 0.0f;
    for (u32 ms = 0; ms <= VirtualStick::RAMP_TIME; ms += 10) {
        const f32 d = VirtualStick::keyDeflection(ms, false);
        EXPECT_GE(d, last) << ms;
        last = d;
    }
    EXPECT_FLOAT_EQ(VirtualStick::keyDeflection(VirtualStick::RAMP_TIME, false), 1.0f);
    EXPECT_FLOAT_EQ(VirtualStick::keyDeflection(60000, false), 1.0f);
    // Shift halves it, though never into the dead zone.
    EXPECT_FLOAT_EQ(VirtualStick::keyDeflection(60000, true), 0.5f);
    EXPECT_FLOAT_EQ(VirtualStick::keyDeflection(0, true), VirtualStick::FINE_DEFLECTION);

    // A 50 ms tap at 60 steps a second, with the turret's own smoothing and
    // its coast to rest, moves the sight by at most 0.2 degrees; a 100 ms one
    // by more than the shortest, and half a second held turns at full speed.
    auto turnOfTap = [](u32 tapMs, bool slow) {
        f32 rate = 0.0f, turned = 0.0f;
        for (u32 step = 0; step < 600; ++step) {
            const u32 t = step * 1000 / 60;
            const f32 input = t <= tapMs ? VirtualStick::keyDeflection(t, slow) : 0.0f;
            rate = rate * 0.95f + input * 0.05f;
            turned += rate;
        }
        return turned;
    };
    EXPECT_LE(turnOfTap(50, false), 0.2f);
    EXPECT_GT(turnOfTap(100, false), turnOfTap(50, false));
    EXPECT_LT(turnOfTap(50, true), turnOfTap(50, false));
    EXPECT_GT(turnOfTap(1000, false), 40.0f);

    // The stick ramps each direction from the moment it came to be held.
    VirtualStick stick;
    stick.watch(key(KEY_RIGHT, true), 1000);
    EXPECT_EQ(read(stick.nextEvent(1000)).x, s16(VirtualStick::FINE_DEFLECTION * 32767 + 0.5f));
    stick.watch(key(KEY_KEY_D, true), 1100);   // a second key for the same direction
    stick.watch(key(KEY_DOWN, true), 1200);
    const Stick both = read(stick.nextEvent(1200));
    EXPECT_EQ(both.x, s16(VirtualStick::keyDeflection(200, false) * 32767 + 0.5f));
    EXPECT_EQ(both.y, s16(VirtualStick::FINE_DEFLECTION * 32767 + 0.5f));
    stick.watch(key(KEY_LSHIFT, true), 2000);
    EXPECT_EQ(read(stick.nextEvent(2000)).x, 16384);
    stick.watch(key(KEY_LSHIFT, false), 2000);
    EXPECT_EQ(read(stick.nextEvent(2000)).x, 32767);
}

TEST(VirtualStick, OnlyWithoutAJoystick)
{
    EXPECT_TRUE(VirtualStick::isNeeded(true, 0));
    EXPECT_TRUE(VirtualStick::isNeeded(false, 0));
    EXPECT_FALSE(VirtualStick::isNeeded(true, 1));
    EXPECT_FALSE(VirtualStick::isNeeded(true, 2));
}
