// The map from the player's inputs to the game's actions, with the default
// settings and with the player's own; and the command line's options.

#include "CommandLine.h"
#include "InputMap.h"

#include <gtest/gtest.h>

#include <vector>

using namespace irr;

namespace {

SEvent stick(s16 x, s16 y, u32 buttons)
{
    SEvent event{};
    event.EventType = EET_JOYSTICK_INPUT_EVENT;
    event.JoystickEvent.Axis[SEvent::SJoystickEvent::AXIS_X] = x;
    event.JoystickEvent.Axis[SEvent::SJoystickEvent::AXIS_Y] = y;
    event.JoystickEvent.ButtonStates = buttons;
    return event;
}

bool parse(CommandLine& line, std::vector<const char*> words)
{
    words.insert(words.begin(), "torvel");
    words.push_back(nullptr);
    return line.parse(static_cast<int>(words.size() - 1), const_cast<char**>(words.data()));
}

} // namespace

TEST(InputMap, TheDefaultsWorkEveryInputAsBefore)
{
    const InputMap map;
    for (u32 code = 0; code < KEY_KEY_CODES_COUNT; ++code) {
        const u32 expected = (code == KEY_SHIFT || code == KEY_LSHIFT || code == KEY_RSHIFT)
            ? u32(VirtualStick::Slow) : VirtualStick::controlOfKey(EKEY_CODE(code));
        EXPECT_EQ(map.getKeyControls()[code], expected) << "key " << code;
    }
    EXPECT_EQ(map.actionOfKey(KEY_KEY_P), InputMap::Action::Pause);
    EXPECT_EQ(map.actionOfKey(KEY_ESCAPE), InputMap::Action::Pause);
    EXPECT_EQ(map.actionOfKey(KEY_KEY_T), InputMap::Action::Screenshot);
    EXPECT_EQ(map.actionOfKey(KEY_F8), InputMap::Action::StartRaid);
    EXPECT_EQ(map.actionOfKey(KEY_F9), InputMap::Action::StartRound);
    EXPECT_EQ(map.actionOfKey(KEY_F10), InputMap::Action::StopRound);
    EXPECT_EQ(map.actionOfKey(KEY_F11), InputMap::Action::Fullscreen);
    EXPECT_EQ(map.actionOfKey(KEY_F12), InputMap::Action::Quit);
    EXPECT_EQ(map.actionOfKey(KEY_SPACE), InputMap::Action::None);

    const InputMap::Turn turn = map.mouseTurn(core::vector2di(100, 40));
    EXPECT_FLOAT_EQ(turn.yaw, VirtualStick::mouseDegrees(100));
    EXPECT_FLOAT_EQ(turn.pitch, VirtualStick::mouseDegrees(-40));

    // Buttons 0 and 2 and the axes go through as the stick sent them.
    const SEvent same = map.stickEvent(stick(-32768, 1200, 1u | 4u));
    EXPECT_EQ(same.JoystickEvent.Axis[SEvent::SJoystickEvent::AXIS_X], -32768);
    EXPECT_EQ(same.JoystickEvent.Axis[SEvent::SJoystickEvent::AXIS_Y], 1200);
    EXPECT_EQ(same.JoystickEvent.ButtonStates, 5u);
}

TEST(InputMap, ThePlayersSettingsAreAppliedInOnePlace)
{
    Settings::Values values;
    values.mouseSensitivity = 0.10f;
    values.invertVertical = true;
    values.keys[Settings::Fire] = {KEY_KEY_F, Settings::noKey};
    values.keys[Settings::Pause] = {KEY_F1, Settings::noKey};
    values.keys[Settings::FineAim] = {KEY_CONTROL, Settings::noKey};
    values.joystickFire = 5;
    values.joystickReload = 0;
    values.joystickInvertX = true;
    values.joystickInvertY = true;
    const InputMap map(values);

    // Twice the turn, and the vertical the other way, for mouse and keys.
    const InputMap::Turn turn = map.mouseTurn(core::vector2di(100, 100));
    EXPECT_FLOAT_EQ(turn.yaw, 10.0f);
    EXPECT_FLOAT_EQ(turn.pitch, 10.0f);
    EXPECT_EQ(map.getKeyControls()[KEY_DOWN], u32(VirtualStick::Lower));
    EXPECT_EQ(map.getKeyControls()[KEY_KEY_W], u32(VirtualStick::Raise));
    EXPECT_EQ(map.getKeyControls()[KEY_KEY_F], u32(VirtualStick::Fire));
    EXPECT_EQ(map.getKeyControls()[KEY_SPACE], 0u);
    EXPECT_EQ(map.getKeyControls()[KEY_LCONTROL], u32(VirtualStick::Slow));
    EXPECT_EQ(map.getKeyControls()[KEY_SHIFT], 0u);
    EXPECT_EQ(map.actionOfKey(KEY_F1), InputMap::Action::Pause);
    EXPECT_EQ(map.actionOfKey(KEY_KEY_P), InputMap::Action::None);
    EXPECT_EQ(map.actionOfKey(KEY_F12), InputMap::Action::Quit);

    // A stick held down: the virtual stick built from the map raises.
    VirtualStick keys;
    keys.setKeyControls(map.getKeyControls());
    SEvent down{};
    down.EventType = EET_KEY_INPUT_EVENT;
    down.KeyInput.Key = KEY_DOWN;
    down.KeyInput.PressedDown = true;
    keys.watch(down, 0);
    EXPECT_LT(keys.nextEvent(1000).JoystickEvent.Axis[SEvent::SJoystickEvent::AXIS_Y], 0);

    // Button 5 fires, button 0 reloads, the axes turned round (the full
    // deflection one way has no twin the other way but the full one).
    const SEvent mapped = map.stickEvent(stick(-32768, 1200, 1u << 5));
    EXPECT_EQ(mapped.JoystickEvent.ButtonStates, 1u);
    EXPECT_EQ(mapped.JoystickEvent.Axis[SEvent::SJoystickEvent::AXIS_X], 32767);
    EXPECT_EQ(mapped.JoystickEvent.Axis[SEvent::SJoystickEvent::AXIS_Y], -1200);
    EXPECT_EQ(map.stickEvent(stick(0, 0, 1u | 4u)).JoystickEvent.ButtonStates, 4u);
}

TEST(CommandLine, FullscreenOrWindowedForOneRun)
{
    CommandLine line;
    EXPECT_TRUE(parse(line, {}));
    EXPECT_EQ(line.getWindow(), CommandLine::Window::AsSet);
    EXPECT_TRUE(parse(line, {"--fullscreen"}));
    EXPECT_EQ(line.getWindow(), CommandLine::Window::Fullscreen);
    EXPECT_TRUE(parse(line, {"--windowed"}));
    EXPECT_EQ(line.getWindow(), CommandLine::Window::Windowed);
    EXPECT_TRUE(parse(line, {"--help"}));
    EXPECT_TRUE(line.wantsHelp());
    EXPECT_FALSE(parse(line, {"--fulscreen"}));
    EXPECT_EQ(line.getFault(), "unknown option '--fulscreen'");
    EXPECT_FALSE(parse(line, {"--windowed", "now"}));
    EXPECT_EQ(line.getFault(), "unexpected argument 'now'");
}
