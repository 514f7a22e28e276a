#include "VirtualStick.h"

using namespace irr;

namespace {
const s16 fullDeflection = 32767;
}

u32 VirtualStick::controlOfKey(EKEY_CODE key)
{
    switch (key) {
    case KEY_LEFT:
    case KEY_KEY_A:
        return TurnLeft;
    case KEY_RIGHT:
    case KEY_KEY_D:
        return TurnRight;
    // As in a cockpit: pulling the stick back (Down) raises the guns.
    case KEY_DOWN:
    case KEY_KEY_S:
        return Raise;
    case KEY_UP:
    case KEY_KEY_W:
        return Lower;
    case KEY_SPACE:
        return Fire;
    case KEY_KEY_R:
        return Reload;
    default:
        return 0;
    }
}

SEvent VirtualStick::eventFor(u32 held)
{
    SEvent event{};
    event.EventType = EET_JOYSTICK_INPUT_EVENT;
    event.JoystickEvent.Joystick = 0;
    event.JoystickEvent.POV = 65535; // centred
    const s16 right = (held & TurnRight) ? fullDeflection : 0;
    const s16 left = (held & TurnLeft) ? fullDeflection : 0;
    const s16 back = (held & Raise) ? fullDeflection : 0;
    const s16 forward = (held & Lower) ? fullDeflection : 0;
    event.JoystickEvent.Axis[SEvent::SJoystickEvent::AXIS_X] = s16(right - left);
    event.JoystickEvent.Axis[SEvent::SJoystickEvent::AXIS_Y] = s16(back - forward);
    event.JoystickEvent.ButtonStates = ((held & Fire) ? 1u : 0u) | ((held & Reload) ? 4u : 0u);
    return event;
}

void VirtualStick::watch(const SEvent& event)
{
    if (event.EventType == EET_KEY_INPUT_EVENT) {
        const u32 key = event.KeyInput.Key;
        if (key < KEY_KEY_CODES_COUNT) {
            keyDown[key] = event.KeyInput.PressedDown;
            if (event.KeyInput.PressedDown)
                pressedSinceEvent |= controlOfKey(EKEY_CODE(key));
        }
    } else if (event.EventType == EET_MOUSE_INPUT_EVENT) {
        switch (event.MouseInput.Event) {
        case EMIE_LMOUSE_PRESSED_DOWN: mouseHeld |= Fire; pressedSinceEvent |= Fire; break;
        case EMIE_LMOUSE_LEFT_UP: mouseHeld &= ~u32(Fire); break;
        case EMIE_RMOUSE_PRESSED_DOWN: mouseHeld |= Reload; pressedSinceEvent |= Reload; break;
        case EMIE_RMOUSE_LEFT_UP: mouseHeld &= ~u32(Reload); break;
        default: break;
        }
    }
}

u32 VirtualStick::held() const
{
    u32 held = mouseHeld;
    for (u32 key = 0; key < KEY_KEY_CODES_COUNT; ++key)
        if (keyDown[key])
            held |= controlOfKey(EKEY_CODE(key));
    return held;
}

SEvent VirtualStick::nextEvent()
{
    const SEvent event = eventFor(held() | pressedSinceEvent);
    pressedSinceEvent = 0;
    return event;
}
