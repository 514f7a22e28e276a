#pragma once

#include "Settings.h"
#include "VirtualStick.h"

#include <IEventReceiver.h>
#include <vector2d.h>

#include <array>

// The one place where the player's inputs become the game's actions: the
// keys of the settings' bindings and the game's own function keys, the
// mouse's movement at its sensitivity, the stick's buttons and axes as the
// settings have them. With the default settings every input does what it
// always did.
class InputMap {
public:
    // What a key does when it goes down.
    enum class Action {
        None,        // nothing of its own; it may still work the turret
        Pause,       // the pause, and out of it
        Screenshot,  // a picture of the next frame
        StartRaid,   // F8
        StartRound,  // F9
        StopRound,   // F10: the round, or the raid
        Fullscreen,  // F11: fullscreen and back
        Quit,        // F12, whatever the bindings say
    };

    // The turn of the view for a mouse movement: degrees to the right and up.
    struct Turn {
        irr::f32 yaw;
        irr::f32 pitch;
    };

    InputMap() : InputMap(Settings::Values()) {}
    explicit InputMap(const Settings::Values& values);

    Action actionOfKey(irr::EKEY_CODE key) const;
    // The virtual stick's control of every key code: the bindings, with
    // raise and lower the other way round when the vertical is inverted.
    const VirtualStick::KeyControls& getKeyControls() const { return keyControls; }
    Turn mouseTurn(const irr::core::vector2di& moved) const;
    // A joystick event as the turret reads it: the fire button on button 0,
    // the reload button on button 2, the axes turned round where inverted.
    irr::SEvent stickEvent(const irr::SEvent& joystick) const;

    static VirtualStick::KeyControls keyControlsFor(const Settings::Values& values);

private:
    Settings::Values values;               // the settings the map was made from
    VirtualStick::KeyControls keyControls; // the stick's control of each key
};
