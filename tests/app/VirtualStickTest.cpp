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
    VirtualStick stick;
    EXPECT_EQ(stick.held(), 0u);

    stick.watch(key(KEY_RIGHT, true));
    EXPECT_EQ(read(stick.nextEvent()).x, 32767);
    stick.watch(key(KEY_KEY_A, true));
    EXPECT_EQ(read(stick.nextEvent()).x, 0) << "opposite keys cancel";
    stick.watch(key(KEY_RIGHT, false));
    EXPECT_EQ(read(stick.nextEvent()).x, -32767);
    stick.watch(key(KEY_KEY_A, false));
    EXPECT_EQ(stick.held(), 0u);

    // Two keys for one control: releasing one keeps the other working.
    stick.watch(key(KEY_DOWN, true));
    stick.watch(key(KEY_KEY_S, true));
    stick.watch(key(KEY_DOWN, false));
    EXPECT_EQ(read(stick.nextEvent()).y, 32767);
    stick.watch(key(KEY_KEY_S, false));
    stick.watch(key(KEY_KEY_W, true));
    EXPECT_EQ(read(stick.nextEvent()).y, -32767);
    stick.watch(key(KEY_KEY_W, false));

    stick.watch(key(KEY_SPACE, true));
    stick.watch(mouse(EMIE_RMOUSE_PRESSED_DOWN));
    EXPECT_EQ(read(stick.nextEvent()).buttons, 5u);
    stick.watch(key(KEY_SPACE, false));
    EXPECT_EQ(read(stick.nextEvent()).buttons, 4u);
    stick.watch(mouse(EMIE_LMOUSE_PRESSED_DOWN));
    stick.watch(mouse(EMIE_MOUSE_MOVED));
    EXPECT_EQ(read(stick.nextEvent()).buttons, 5u);
    stick.watch(mouse(EMIE_RMOUSE_LEFT_UP));
    stick.watch(mouse(EMIE_LMOUSE_LEFT_UP));
    stick.watch(key(KEY_KEY_R, true));
    EXPECT_EQ(read(stick.nextEvent()).buttons, 4u);
    stick.watch(key(KEY_KEY_R, false));

    // Keys that work nothing, repeats and odd codes leave it alone.
    stick.watch(key(KEY_F9, true));
    stick.watch(key(KEY_KEY_T, true));
    stick.watch(key(EKEY_CODE(0xFF), true));
    EXPECT_EQ(stick.held(), 0u);
}

TEST(VirtualStick, ATapBetweenTwoFramesStillCountsOnce)
{
    VirtualStick stick;
    stick.watch(key(KEY_SPACE, true));
    stick.watch(key(KEY_SPACE, false));
    stick.watch(mouse(EMIE_RMOUSE_PRESSED_DOWN));
    stick.watch(mouse(EMIE_RMOUSE_LEFT_UP));
    stick.watch(key(KEY_LEFT, true));
    stick.watch(key(KEY_LEFT, false));
    const Stick tapped = read(stick.nextEvent());
    EXPECT_EQ(tapped.buttons, 5u);
    EXPECT_EQ(tapped.x, -32767);
    const Stick after = read(stick.nextEvent());
    EXPECT_EQ(after.buttons, 0u);
    EXPECT_EQ(after.x, 0);
}

TEST(VirtualStick, OnlyWithoutAJoystick)
{
    EXPECT_TRUE(VirtualStick::isNeeded(true, 0));
    EXPECT_TRUE(VirtualStick::isNeeded(false, 0));
    EXPECT_FALSE(VirtualStick::isNeeded(true, 1));
    EXPECT_FALSE(VirtualStick::isNeeded(true, 2));
}
