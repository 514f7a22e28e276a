#pragma once

// Engine events as the device delivers them, for tests that feed receivers.

#include <irrlicht.h>

namespace TestEvents {

inline irr::SEvent key(irr::EKEY_CODE code, bool down, bool shift = false, bool control = false)
{
    irr::SEvent event{};
    event.EventType = irr::EET_KEY_INPUT_EVENT;
    event.KeyInput.Key = code;
    event.KeyInput.PressedDown = down;
    event.KeyInput.Shift = shift;
    event.KeyInput.Control = control;
    return event;
}

inline irr::SEvent joystick(irr::s16 x, irr::s16 y, irr::u32 buttons)
{
    irr::SEvent event{};
    event.EventType = irr::EET_JOYSTICK_INPUT_EVENT;
    event.JoystickEvent.Axis[irr::SEvent::SJoystickEvent::AXIS_X] = x;
    event.JoystickEvent.Axis[irr::SEvent::SJoystickEvent::AXIS_Y] = y;
    event.JoystickEvent.ButtonStates = buttons;
    return event;
}

inline irr::SEvent mouse(irr::EMOUSE_INPUT_EVENT what)
{
    irr::SEvent event{};
    event.EventType = irr::EET_MOUSE_INPUT_EVENT;
    event.MouseInput.Event = what;
    return event;
}

} // namespace TestEvents
