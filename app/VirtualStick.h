#pragma once

#include <IEventReceiver.h>

// Stands in for a joystick when none is attached. It watches the keys and
// mouse buttons the player holds and turns them, once per frame, into the
// joystick event a real stick polled every frame would send, so the turret
// obeys one set of rules whichever way it is worked.
class VirtualStick {
public:
    // What the player can hold, as bits of a set.
    enum Control : irr::u32 {
        TurnLeft = 1,
        TurnRight = 2,
        Raise = 4,   // stick pulled back
        Lower = 8,   // stick pushed forward
        Fire = 16,
        Reload = 32,
    };

    // A virtual stick is wanted when joystick support is off or found none.
    static bool isNeeded(bool joystickSupport, irr::u32 joysticks) { return !joystickSupport || joysticks == 0; }

    // The joystick event for a set of held controls: full deflection per
    // direction, opposite directions cancelling; fire on button 0, reload on 2.
    static irr::SEvent eventFor(irr::u32 held);

    // The control a key works, or 0 for keys that work none.
    static irr::u32 controlOfKey(irr::EKEY_CODE key);

    // Notes key and mouse button changes. Only watches: the event goes on.
    void watch(const irr::SEvent& event);

    irr::u32 held() const;

    // The event for this frame. A control pressed since the previous event
    // counts as held in this one even if it was released already, so a quick
    // tap that falls between two frames still fires or reloads.
    irr::SEvent nextEvent();

private:
    bool keyDown[irr::KEY_KEY_CODES_COUNT] = {};  // keys held, by key code
    irr::u32 mouseHeld = 0;                       // controls held on the mouse buttons
    irr::u32 pressedSinceEvent = 0;               // controls pressed since the last event
};
