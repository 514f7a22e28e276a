#pragma once

#include <IEventReceiver.h>

#include <array>

// Stands in for a joystick when none is attached. It watches the keys and
// mouse buttons the player holds and turns them, once per frame, into the
// joystick event a real stick polled every frame would send, so the turret
// obeys one set of rules whichever way it is worked.
//
// A direction key does not slam the stick over: its deflection ramps from a
// fine touch to full over RAMP_TIME, so a tap nudges the sight by a fraction
// of a degree and a held key turns at full speed. Shift halves it. The mouse
// is not a stick: its movement turns the turret directly (mouseDegrees).
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
        Slow = 64,   // fine aim: the keys turn at half their deflection
    };
    // The control each key code works, 0 for none.
    using KeyControls = std::array<irr::u32, irr::KEY_KEY_CODES_COUNT>;

    // Deflection of the first moment a direction key is held: just above the
    // stick's dead zone, a tenth of a degree per 1/10 s tap at most.
    static constexpr irr::f32 FINE_DEFLECTION = 0.0105f;
    // Milliseconds a direction key takes to reach full deflection.
    static constexpr irr::u32 RAMP_TIME = 400;
    // Turn of the turret per pixel of mouse movement: a jet's width at 1000
    // units (about 1.3 degrees) is a finger's roll of 26 pixels, half a turn
    // one long sweep of 3600.
    static constexpr irr::f32 MOUSE_DEGREES_PER_PIXEL = 0.05f;

    // How far each direction is pushed, 0 to 1.
    struct Deflection {
        irr::f32 left = 1.0f;
        irr::f32 right = 1.0f;
        irr::f32 raise = 1.0f;
        irr::f32 lower = 1.0f;
    };

    // A virtual stick is wanted when joystick support is off or found none.
    static bool isNeeded(bool joystickSupport, irr::u32 joysticks) { return !joystickSupport || joysticks == 0; }

    // The joystick event for a set of held controls, each direction at its
    // deflection, opposite directions cancelling; fire on button 0, reload on 2.
    static irr::SEvent eventFor(irr::u32 held, const Deflection& deflection);
    // The same with every direction at full deflection.
    static irr::SEvent eventFor(irr::u32 held);

    // The deflection of a direction key held for heldMs: FINE_DEFLECTION at
    // first, rising with the square of the time to full at RAMP_TIME; halved
    // when slow (Shift held), though never below FINE_DEFLECTION.
    static irr::f32 keyDeflection(irr::u32 heldMs, bool slow);

    // Degrees the turret turns for a mouse movement of this many pixels.
    static irr::f32 mouseDegrees(irr::s32 pixels) { return static_cast<irr::f32>(pixels) * MOUSE_DEGREES_PER_PIXEL; }

    // The control a key works, or 0 for keys that work none.
    static irr::u32 controlOfKey(irr::EKEY_CODE key);

    VirtualStick();
    // The keys work these controls from now on, instead of controlOfKey's.
    void setKeyControls(const KeyControls& controls) { keyControls = controls; }

    // Notes key and mouse button changes at game time now. Only watches: the
    // event goes on.
    void watch(const irr::SEvent& event, irr::u32 now);

    irr::u32 held() const;

    // The event for game time now. A control pressed since the previous
    // event counts as held in this one even if it was released already, so
    // a quick tap that falls between two frames still fires or reloads.
    irr::SEvent nextEvent(irr::u32 now);

private:
    // Shift is held: the keys turn at half their deflection.
    bool slow() const;

    KeyControls keyControls;                      // the control of each key
    bool keyDown[irr::KEY_KEY_CODES_COUNT] = {};  // keys held, by key code
    irr::u32 mouseHeld = 0;                       // controls held on the mouse buttons
    irr::u32 pressedSinceEvent = 0;               // controls pressed since the last event
    irr::u32 heldSince[4] = {};                   // game time each direction was first held, by bit
};
