#pragma once

#include "PlayerFile.h"

#include <Keycodes.h>

#include <array>
#include <string>
#include <vector>

// The player's settings, kept in a small text file in the player's
// configuration folder: how the mouse and the stick aim, the keys, the
// loudness, fullscreen, the radar, the sound's head-related filters.
//
// The file is plain text, a line that names the format and then one
// setting a line; blank lines and lines that begin with # are passed over:
//
//     torvel-settings 1
//     mouse_sensitivity = 0.05
//     key_fire = Space
//     key_turn_left = Left A      a binding holds one or two keys
//
// A setting left out takes its default. A value that is not what its setting
// takes, or an unknown setting, is one line on standard error and the
// default stands. A file that is not a settings file at all (not text, too
// large, not a plain file, another format) is set aside as settings.bad and
// every setting takes its default. The file is written only when a setting
// changes, atomically, and never over a damaged file that could not be
// moved.
class Settings {
public:
    // What a key can be bound to.
    enum Binding {
        TurnLeft,
        TurnRight,
        Raise,
        Lower,
        Fire,
        Reload,
        FineAim,
        Pause,
        Screenshot,
        bindingCount
    };
    static constexpr std::size_t keysPerBinding = 2;
    // The keys of one binding; unused places hold noKey.
    using Keys = std::array<irr::EKEY_CODE, keysPerBinding>;
    static constexpr irr::EKEY_CODE noKey = irr::KEY_KEY_CODES_COUNT;

    struct Values {
        float mouseSensitivity = 0.05f;  // degrees a pixel, minSensitivity to maxSensitivity
        bool invertVertical = false;     // the mouse and the keys raise where they would lower
        int effectsVolume = 100;         // per cent of full loudness, every sound
        bool fullscreen = false;         // the window fills the screen
        bool radar = true;               // the radar is shown
        bool hrtf = true;                // head-related filters, where the output takes them
        int joystickFire = 0;            // button that fires, 0 to maxButton
        int joystickReload = 2;          // button that reloads
        bool joystickInvertX = false;    // the stick turns the other way
        bool joystickInvertY = false;    // the stick raises the other way
        std::array<Keys, bindingCount> keys = defaultKeys();
        bool operator==(const Values& other) const;
        bool operator!=(const Values& other) const { return !(*this == other); }
    };

    static constexpr float minSensitivity = 0.01f;
    static constexpr float maxSensitivity = 0.20f;
    static constexpr int maxButton = 31;
    static constexpr std::size_t maxFileSize = 4096;
    static constexpr std::size_t maxLineLength = 200;
    static const char* const formatLine;  // the first line: "torvel-settings 1"

    // The file at path; an empty path keeps nothing.
    explicit Settings(std::string path);

    // $XDG_CONFIG_HOME/torvel/settings, or ~/.config/torvel/settings when
    // that is unset, empty or not an absolute path; empty without a home.
    static std::string defaultPath();
    static std::string pathFor(const char* xdgConfigHome, const char* home);

    // Reads the file at start: a missing file is every default, a damaged
    // one is set aside, each bad line is said on standard error.
    void load();
    // Takes these values and writes the file when they differ from what it
    // holds; false, said on standard error, when it could not be written.
    bool change(const Values& changed);

    const Values& get() const { return values; }
    const std::string& getPath() const { return file.getPath(); }

    static std::array<Keys, bindingCount> defaultKeys();
    // The file's text for these values: every setting, in a fixed order.
    static std::string format(const Values& values);
    // Reads a file's text. False, with the reason in fault and values at
    // their defaults, when it is not a settings file at all; otherwise true,
    // with one line in complaints for every setting that kept its default
    // because its line was bad, and for every unknown setting.
    static bool parse(const std::string& text, Values& values, std::vector<std::string>& complaints,
                      std::string& fault);

    // The setting's name in the file: "key_fire".
    static const char* bindingName(Binding binding);
    // A key's name in the file ("Space", "A", "Left"); empty for keys that
    // cannot be bound.
    static std::string keyName(irr::EKEY_CODE key);
    // The key of a name, or noKey.
    static irr::EKEY_CODE keyOfName(const std::string& name);
    // The key a binding knows it as: the left and right Shift and Control
    // are Shift and Control.
    static irr::EKEY_CODE commonKey(irr::EKEY_CODE key);
    // The binding that holds key, or bindingCount.
    static Binding holderOf(const Values& values, irr::EKEY_CODE key);

private:
    PlayerFile file;   // the settings file; an empty path keeps nothing
    Values values;     // what the game plays with
};
