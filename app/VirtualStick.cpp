#include "VirtualStick.h"

using namespace irr;

namespace {

const f32 fullDeflection = 32767.0f;
const u32 directions[4] = {VirtualStick::TurnLeft, VirtualStick::TurnRight, VirtualStick::Raise,
                           VirtualStick::Lower};

s16 axisValue(f32 deflection)
{
    return static_cast<s16>(deflection * fullDeflection + 0.5f);
}

} // namespace

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

VirtualStick::VirtualStick()
{
    for (u32 key = 0; key < KEY_KEY_CODES_COUNT; ++key)
        keyControls[key] = controlOfKey(EKEY_CODE(key));
    keyControls[KEY_SHIFT] = keyControls[KEY_LSHIFT] = keyControls[KEY_RSHIFT] = Slow;
}

SEvent VirtualStick::eventFor(u32 held, const Deflection& deflection)
{
    SEvent event{};
    event.EventType = EET_JOYSTICK_INPUT_EVENT;
    event.JoystickEvent.Joystick = 0;
    event.JoystickEvent.POV = 65535; // centred
    const s16 right = (held & TurnRight) ? axisValue(deflection.right) : 0;
    const s16 left = (held & TurnLeft) ? axisValue(deflection.left) : 0;
    const s16 back = (held & Raise) ? axisValue(deflection.raise) : 0;
    const s16 forward = (held & Lower) ? axisValue(deflection.lower) : 0;
    event.JoystickEvent.Axis[SEvent::SJoystickEvent::AXIS_X] = s16(right - left);
    event.JoystickEvent.Axis[SEvent::SJoystickEvent::AXIS_Y] = s16(back - forward);
    event.JoystickEvent.ButtonStates = ((held & Fire) ? 1u : 0u) | ((held & Reload) ? 4u : 0u);
    return event;
}

SEvent VirtualStick::eventFor(u32 held)
{
    return eventFor(held, Deflection());
}

f32 VirtualStick::keyDeflection(u32 heldMs, bool slow)
{
    f32 deflection = 1.0f;
    if (heldMs < RAMP_TIME) {
        const f32 ramp = static_cast<f32>(heldMs) / static_cast<f32>(RAMP_TIME);
        deflection = FINE_DEFLECTION + (1.0f - FINE_DEFLECTION) * ramp * ramp;
    }
    // Halved, but never into the stick's dead zone, where a tap would vanish.
    if (slow)
        deflection = deflection * 0.5f > FINE_DEFLECTION ? deflection * 0.5f : FINE_DEFLECTION;
    return deflection;
}

void VirtualStick::watch(const SEvent& event, u32 now)
{
    const u32 before = held();
    if (event.EventType == EET_KEY_INPUT_EVENT) {
        const u32 key = event.KeyInput.Key;
        if (key < KEY_KEY_CODES_COUNT) {
            keyDown[key] = event.KeyInput.PressedDown;
            if (event.KeyInput.PressedDown)
                pressedSinceEvent |= keyControls[key] & ~u32(Slow);
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
    // A direction starts its ramp when it comes to be held, whichever of its
    // keys does it; a second key for the same direction does not restart it.
    const u32 started = held() & ~before;
    for (u32 i = 0; i < 4; ++i)
        if (started & directions[i])
            heldSince[i] = now;
}

u32 VirtualStick::held() const
{
    u32 held = mouseHeld;
    for (u32 key = 0; key < KEY_KEY_CODES_COUNT; ++key)
        if (keyDown[key])
            held |= keyControls[key];
    return held & ~u32(Slow);
}

bool VirtualStick::slow() const
{
    for (u32 key = 0; key < KEY_KEY_CODES_COUNT; ++key)
        if (keyDown[key] && (keyControls[key] & Slow))
            return true;
    return false;
}

SEvent VirtualStick::nextEvent(u32 now)
{
    const bool halve = slow();
    f32 ramped[4];
    for (u32 i = 0; i < 4; ++i) {
        const u32 heldMs = static_cast<s32>(now - heldSince[i]) > 0 ? now - heldSince[i] : 0;
        ramped[i] = keyDeflection(heldMs, halve);
    }
    Deflection deflection;
    deflection.left = ramped[0];
    deflection.right = ramped[1];
    deflection.raise = ramped[2];
    deflection.lower = ramped[3];
    const SEvent event = eventFor(held() | pressedSinceEvent, deflection);
    pressedSinceEvent = 0;
    return event;
}
