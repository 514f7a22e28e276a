#include "InputMap.h"

using namespace irr;

namespace {

s16 inverted(s16 axis)
{
    // -32768 has no positive twin: it goes to full deflection the other way.
    return axis == -32768 ? s16(32767) : s16(-axis);
}

} // namespace

InputMap::InputMap(const Settings::Values& values) : values(values), keyControls(keyControlsFor(values))
{
}

VirtualStick::KeyControls InputMap::keyControlsFor(const Settings::Values& values)
{
    VirtualStick::KeyControls controls{};
    const bool invert = values.invertVertical;
    const u32 controlOf[Settings::bindingCount] = {
        VirtualStick::TurnLeft, VirtualStick::TurnRight,
        invert ? u32(VirtualStick::Lower) : u32(VirtualStick::Raise),
        invert ? u32(VirtualStick::Raise) : u32(VirtualStick::Lower),
        VirtualStick::Fire, VirtualStick::Reload, VirtualStick::Slow, 0, 0,
    };
    for (u32 code = 0; code < KEY_KEY_CODES_COUNT; ++code) {
        const Settings::Binding binding = Settings::holderOf(values, EKEY_CODE(code));
        if (binding != Settings::bindingCount)
            controls[code] = controlOf[binding];
    }
    return controls;
}

InputMap::Action InputMap::actionOfKey(EKEY_CODE key) const
{
    switch (key) {
    case KEY_F8: return Action::StartRaid;
    case KEY_F9: return Action::StartRound;
    case KEY_F10: return Action::StopRound;
    case KEY_F11: return Action::Fullscreen;
    case KEY_F12: return Action::Quit;
    default: break;
    }
    switch (Settings::holderOf(values, key)) {
    case Settings::Pause: return Action::Pause;
    case Settings::Screenshot: return Action::Screenshot;
    default: return Action::None;
    }
}

InputMap::Turn InputMap::mouseTurn(const core::vector2di& moved) const
{
    const f32 degrees = values.mouseSensitivity;
    const f32 up = static_cast<f32>(-moved.Y) * degrees;
    return Turn{static_cast<f32>(moved.X) * degrees, values.invertVertical ? -up : up};
}

SEvent InputMap::stickEvent(const SEvent& joystick) const
{
    SEvent event = joystick;
    SEvent::SJoystickEvent& stick = event.JoystickEvent;
    const u32 buttons = joystick.JoystickEvent.ButtonStates;
    stick.ButtonStates = ((buttons >> values.joystickFire) & 1u) | (((buttons >> values.joystickReload) & 1u) << 2);
    if (values.joystickInvertX)
        stick.Axis[SEvent::SJoystickEvent::AXIS_X] = inverted(stick.Axis[SEvent::SJoystickEvent::AXIS_X]);
    if (values.joystickInvertY)
        stick.Axis[SEvent::SJoystickEvent::AXIS_Y] = inverted(stick.Axis[SEvent::SJoystickEvent::AXIS_Y]);
    return event;
}
