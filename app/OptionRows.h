#pragma once

#include "Settings.h"

#include <string>

// The rows of the Options screen, one for every setting the settings file
// holds, and the rules by which a row changes the settings: a slider steps
// or takes a position, a switch flips, a stick button or a key is bound.
// Free of the engine's GUI, so that what each row does is checked without a
// window; the screen only shows the rows and passes the player's hand on.
class OptionRows {
public:
    enum class Kind {
        Slider,       // a value in steps: sensitivity, volume
        Switch,       // on or off
        StickButton,  // a joystick button, bound by pressing it
        Keys,         // a binding's two keys, each bound by pressing it
        Command,      // does something: the default keys, back
    };
    enum Row {
        Sensitivity,
        InvertVertical,
        EffectsVolume,
        Fullscreen,
        Radar,
        Hrtf,
        StickFire,
        StickReload,
        StickInvertX,
        StickInvertY,
        FirstKeys,                                       // the bindings, in Settings::Binding's order
        DefaultKeys = FirstKeys + Settings::bindingCount,
        Back,
        rowCount
    };

    // What a row of the Options screen is: its kind of control and its label.
    struct Shape {
        Kind kind;
        const wchar_t* label;
    };
    static const Shape& shape(int row);

    // The binding of a Keys row.
    static Settings::Binding bindingOf(int row) { return static_cast<Settings::Binding>(row - FirstKeys); }
    static const wchar_t* bindingLabel(Settings::Binding binding);

    // A slider's positions run from 0 to sliderSteps(row).
    static int sliderSteps(int row);
    static int sliderPosition(const Settings::Values& values, int row);
    static Settings::Values withSlider(const Settings::Values& values, int row, int position);
    // Left (-1) or right (+1): a slider one step, a switch flipped, a stick
    // button the next one; other rows stay.
    static Settings::Values stepped(const Settings::Values& values, int row, int direction);
    // Enter or a click on a switch.
    static Settings::Values flipped(const Settings::Values& values, int row);
    static bool isOn(const Settings::Values& values, int row);

    // What a row shows beside its label: "0.05", "100 %", "button 0", a key.
    static std::wstring valueText(const Settings::Values& values, int row);
    static std::wstring keyText(const Settings::Values& values, int row, std::size_t slot);

    // The key for one place of a binding. Refused, with the reason in message,
    // when the key is not one a binding takes (F8 to F12 are the game's own,
    // F12 always quits) or another binding has it; a key the binding holds in
    // its other place moves. On success the message says what was bound.
    static bool bindKey(Settings::Values& values, Settings::Binding binding, std::size_t slot, irr::EKEY_CODE key,
                        std::wstring& message);
    // The place emptied; the binding may be left with no key.
    static void clearKey(Settings::Values& values, Settings::Binding binding, std::size_t slot);
    // A stick button for the fire or the reload row; refused when the other has it.
    static bool bindButton(Settings::Values& values, int row, int button, std::wstring& message);
};
