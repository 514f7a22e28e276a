#include "Settings.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iostream>

using namespace irr;

const char* const Settings::formatLine = "torvel-settings 1";

namespace {

const PlayerFile::Wording wording{"the settings", "every setting starts at its default",
                                  "settings changed in play are not kept"};

const char* const bindingNames[Settings::bindingCount] = {
    "key_turn_left", "key_turn_right", "key_raise", "key_lower", "key_fire",
    "key_reload", "key_fine_aim", "key_pause", "key_screenshot",
};

struct NamedKey {
    const char* name;
    EKEY_CODE key;
};

// Keys that can be bound, besides letters and digits. F9 to F12 and F8 are
// the game's own and can not.
const NamedKey namedKeys[] = {
    {"Left", KEY_LEFT}, {"Right", KEY_RIGHT}, {"Up", KEY_UP}, {"Down", KEY_DOWN},
    {"Space", KEY_SPACE}, {"Enter", KEY_RETURN}, {"Tab", KEY_TAB}, {"Backspace", KEY_BACK},
    {"Escape", KEY_ESCAPE}, {"Shift", KEY_SHIFT}, {"Control", KEY_CONTROL}, {"Insert", KEY_INSERT},
    {"Delete", KEY_DELETE}, {"Home", KEY_HOME}, {"End", KEY_END}, {"PageUp", KEY_PRIOR},
    {"PageDown", KEY_NEXT}, {"F1", KEY_F1}, {"F2", KEY_F2}, {"F3", KEY_F3}, {"F4", KEY_F4},
    {"F5", KEY_F5}, {"F6", KEY_F6}, {"F7", KEY_F7}, {"Comma", KEY_COMMA}, {"Period", KEY_PERIOD},
    {"Minus", KEY_MINUS}, {"Plus", KEY_PLUS}, {"Esc", KEY_ESCAPE},
};

std::string yesNo(bool value)
{
    return value ? "yes" : "no";
}

bool parseYesNo(const std::string& text, bool& value)
{
    if (text != "yes" && text != "no")
        return false;
    value = text == "yes";
    return true;
}

bool parseInteger(const std::string& text, int low, int high, int& value)
{
    int read = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, read);
    if (text.empty() || result.ec != std::errc() || result.ptr != end || read < low || read > high)
        return false;
    value = read;
    return true;
}

bool parseSensitivity(const std::string& text, float& value)
{
    float read = 0.0f;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, read, std::chars_format::fixed);
    // The range's ends as they are written, whatever float rounding makes of them.
    if (text.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(read)
        || read < Settings::minSensitivity * 0.9999f || read > Settings::maxSensitivity * 1.0001f)
        return false;
    value = read;
    return true;
}

std::string sensitivityText(float value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string keysText(const Settings::Keys& keys)
{
    std::string text;
    for (EKEY_CODE key : keys) {
        if (key == Settings::noKey)
            continue;
        if (!text.empty())
            text += ' ';
        text += Settings::keyName(key);
    }
    return text.empty() ? "none" : text;
}

// One or two key names between blanks, or "none".
bool parseKeys(const std::string& text, Settings::Keys& keys)
{
    Settings::Keys read;
    read.fill(Settings::noKey);
    if (text == "none") {
        keys = read;
        return true;
    }
    std::size_t count = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t blank = text.find(' ', at);
        const std::string name = text.substr(at, blank == std::string::npos ? std::string::npos : blank - at);
        at = blank == std::string::npos ? text.size() : blank + 1;
        if (name.empty())
            continue;
        const EKEY_CODE key = Settings::keyOfName(name);
        if (key == Settings::noKey || count == Settings::keysPerBinding)
            return false;
        for (std::size_t i = 0; i < count; ++i)
            if (read[i] == key)
                return false;
        read[count++] = key;
    }
    if (count == 0)
        return false;
    keys = read;
    return true;
}

std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

} // namespace

bool Settings::Values::operator==(const Values& other) const
{
    return mouseSensitivity == other.mouseSensitivity && invertVertical == other.invertVertical
        && effectsVolume == other.effectsVolume && fullscreen == other.fullscreen && radar == other.radar && hrtf == other.hrtf
        && joystickFire == other.joystickFire && joystickReload == other.joystickReload
        && joystickInvertX == other.joystickInvertX && joystickInvertY == other.joystickInvertY
        && keys == other.keys;
}

Settings::Settings(std::string path) : file(std::move(path), maxFileSize, wording)
{
}

std::string Settings::defaultPath()
{
    return pathFor(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

std::string Settings::pathFor(const char* xdgConfigHome, const char* home)
{
    return PlayerFile::pathIn(xdgConfigHome, home, ".config", "settings");
}

std::array<Settings::Keys, Settings::bindingCount> Settings::defaultKeys()
{
    std::array<Keys, bindingCount> keys;
    keys[TurnLeft] = {KEY_LEFT, KEY_KEY_A};
    keys[TurnRight] = {KEY_RIGHT, KEY_KEY_D};
    // As in a cockpit: pulling the stick back (Down) raises the guns.
    keys[Raise] = {KEY_DOWN, KEY_KEY_S};
    keys[Lower] = {KEY_UP, KEY_KEY_W};
    keys[Fire] = {KEY_SPACE, noKey};
    keys[Reload] = {KEY_KEY_R, noKey};
    keys[FineAim] = {KEY_SHIFT, noKey};
    keys[Pause] = {KEY_KEY_P, KEY_ESCAPE};
    keys[Screenshot] = {KEY_KEY_T, noKey};
    return keys;
}

const char* Settings::bindingName(Binding binding)
{
    return binding < bindingCount ? bindingNames[binding] : "";
}

std::string Settings::keyName(EKEY_CODE key)
{
    if ((key >= KEY_KEY_A && key <= KEY_KEY_Z) || (key >= KEY_KEY_0 && key <= KEY_KEY_9))
        return std::string(1, static_cast<char>(key));
    for (const NamedKey& named : namedKeys)
        if (named.key == key)
            return named.name;
    return std::string();
}

EKEY_CODE Settings::keyOfName(const std::string& name)
{
    if (name.size() == 1) {
        const char c = name[0];
        if (c >= 'A' && c <= 'Z')
            return static_cast<EKEY_CODE>(c);
        if (c >= 'a' && c <= 'z')
            return static_cast<EKEY_CODE>(c - 'a' + 'A');
        if (c >= '0' && c <= '9')
            return static_cast<EKEY_CODE>(c);
    }
    for (const NamedKey& named : namedKeys)
        if (name == named.name)
            return named.key;
    return noKey;
}

EKEY_CODE Settings::commonKey(EKEY_CODE key)
{
    switch (key) {
    case KEY_LSHIFT:
    case KEY_RSHIFT:
        return KEY_SHIFT;
    case KEY_LCONTROL:
    case KEY_RCONTROL:
        return KEY_CONTROL;
    default:
        return key;
    }
}

Settings::Binding Settings::holderOf(const Values& values, EKEY_CODE key)
{
    key = commonKey(key);
    for (int b = 0; b < bindingCount; ++b)
        for (EKEY_CODE held : values.keys[b])
            if (held != noKey && held == key)
                return static_cast<Binding>(b);
    return bindingCount;
}

std::string Settings::format(const Values& values)
{
    std::string text = std::string(formatLine) + "\n";
    text += "mouse_sensitivity = " + sensitivityText(values.mouseSensitivity) + "\n";
    text += "invert_vertical = " + yesNo(values.invertVertical) + "\n";
    text += "effects_volume = " + std::to_string(values.effectsVolume) + "\n";
    text += "fullscreen = " + yesNo(values.fullscreen) + "\n";
    text += "radar = " + yesNo(values.radar) + "\n";
    text += "hrtf = " + yesNo(values.hrtf) + "\n";
    text += "joystick_fire = " + std::to_string(values.joystickFire) + "\n";
    text += "joystick_reload = " + std::to_string(values.joystickReload) + "\n";
    text += "joystick_invert_x = " + yesNo(values.joystickInvertX) + "\n";
    text += "joystick_invert_y = " + yesNo(values.joystickInvertY) + "\n";
    for (int b = 0; b < bindingCount; ++b)
        text += std::string(bindingNames[b]) + " = " + keysText(values.keys[b]) + "\n";
    return text;
}

bool Settings::parse(const std::string& text, Values& values, std::vector<std::string>& complaints,
                     std::string& fault)
{
    values = Values();
    complaints.clear();
    for (unsigned char c : text) {
        if (c != '\n' && c != '\t' && c != '\r' && (c < 0x20 || c > 0x7E)) {
            fault = "not text";
            return false;
        }
    }
    const std::size_t firstEnd = text.find('\n');
    const std::string first = trimmed(text.substr(0, firstEnd));
    if (first != formatLine) {
        fault = first.rfind("torvel-settings ", 0) == 0 ? "a format this version cannot read"
                                                         : "not a settings file";
        return false;
    }

    Values read;
    // The bindings in the order the file gives them: the first to take a key keeps it.
    std::vector<Binding> given;
    std::size_t lineStart = firstEnd == std::string::npos ? text.size() : firstEnd + 1;
    int lineNumber = 1;
    while (lineStart < text.size()) {
        ++lineNumber;
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = text.size();
        const std::string raw = text.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        const std::string where = "line " + std::to_string(lineNumber);
        if (raw.size() > maxLineLength) {
            complaints.push_back(where + " is too long and is passed over");
            continue;
        }
        const std::string line = trimmed(raw);
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            complaints.push_back(where + " is not \"setting = value\": \"" + line + "\" is passed over");
            continue;
        }
        const std::string key = trimmed(line.substr(0, equals));
        const std::string value = trimmed(line.substr(equals + 1));
        const Values defaults;
        bool known = true;
        bool ok = true;
        std::string range;
        if (key == "mouse_sensitivity") {
            ok = parseSensitivity(value, read.mouseSensitivity);
            range = "a number of degrees a pixel from 0.01 to 0.20; it stays at "
                + sensitivityText(defaults.mouseSensitivity);
        } else if (key == "invert_vertical") {
            ok = parseYesNo(value, read.invertVertical);
            range = "yes or no; it stays at " + yesNo(defaults.invertVertical);
        } else if (key == "effects_volume") {
            ok = parseInteger(value, 0, 100, read.effectsVolume);
            range = "a whole number from 0 to 100; it stays at " + std::to_string(defaults.effectsVolume);
        } else if (key == "fullscreen") {
            ok = parseYesNo(value, read.fullscreen);
            range = "yes or no; it stays at " + yesNo(defaults.fullscreen);
        } else if (key == "radar") {
            ok = parseYesNo(value, read.radar);
            range = "yes or no; it stays at " + yesNo(defaults.radar);
        } else if (key == "hrtf") {
            ok = parseYesNo(value, read.hrtf);
            range = "yes or no; it stays at " + yesNo(defaults.hrtf);
        } else if (key == "joystick_fire") {
            ok = parseInteger(value, 0, maxButton, read.joystickFire);
            range = "a button from 0 to 31; it stays at " + std::to_string(defaults.joystickFire);
        } else if (key == "joystick_reload") {
            ok = parseInteger(value, 0, maxButton, read.joystickReload);
            range = "a button from 0 to 31; it stays at " + std::to_string(defaults.joystickReload);
        } else if (key == "joystick_invert_x") {
            ok = parseYesNo(value, read.joystickInvertX);
            range = "yes or no; it stays at " + yesNo(defaults.joystickInvertX);
        } else if (key == "joystick_invert_y") {
            ok = parseYesNo(value, read.joystickInvertY);
            range = "yes or no; it stays at " + yesNo(defaults.joystickInvertY);
        } else {
            known = false;
            for (int b = 0; b < bindingCount; ++b) {
                if (key != bindingNames[b])
                    continue;
                known = true;
                ok = parseKeys(value, read.keys[b]);
                range = "one or two keys (such as Space, A, Left, Shift) or none; it stays at "
                    + keysText(defaults.keys[b]);
                if (ok) {
                    for (auto at = given.begin(); at != given.end(); ++at)
                        if (*at == b) {
                            given.erase(at);
                            break;
                        }
                    given.push_back(static_cast<Binding>(b));
                }
            }
        }
        if (!known)
            complaints.push_back("unknown setting " + (key.empty() ? "\"\"" : key) + " on " + where
                                 + " is passed over");
        else if (!ok)
            complaints.push_back(key + " = \"" + value + "\" is not " + range);
    }

    // Two bindings can not share a key: the bindings the file gives take
    // theirs first, in its order, then the others keep what is left of their
    // defaults. A given binding that finds a key taken falls back to its default.
    std::array<Keys, bindingCount> keys;
    for (Keys& k : keys)
        k.fill(noKey);
    Values taken;
    taken.keys = keys;
    auto claim = [&](Binding b, const Keys& wanted, bool whole, std::string& clash) {
        Keys got;
        got.fill(noKey);
        std::size_t count = 0;
        for (EKEY_CODE key : wanted) {
            if (key == noKey)
                continue;
            const Binding holder = holderOf(taken, key);
            if (holder != bindingCount) {
                if (clash.empty())
                    clash = keyName(key) + " is taken by " + bindingNames[holder];
                if (whole)
                    return false;
                continue;
            }
            got[count++] = key;
        }
        taken.keys[b] = got;
        return true;
    };
    const std::array<Keys, bindingCount> defaults = defaultKeys();
    std::vector<bool> placed(bindingCount, false);
    for (Binding b : given) {
        std::string clash;
        if (claim(b, read.keys[b], true, clash)) {
            placed[b] = true;
        } else {
            complaints.push_back(std::string(bindingNames[b]) + " = " + keysText(read.keys[b]) + " is refused: "
                                 + clash + "; it stays at " + keysText(defaults[b]));
            read.keys[b] = defaults[b];
        }
    }
    for (int b = 0; b < bindingCount; ++b) {
        if (placed[b])
            continue;
        std::string clash;
        claim(static_cast<Binding>(b), read.keys[b], false, clash);
        if (!clash.empty())
            complaints.push_back(std::string(bindingNames[b]) + " loses a key: " + clash);
    }
    read.keys = taken.keys;
    values = read;
    return true;
}

void Settings::load()
{
    values = Values();
    file.clearKeptOff();
    if (file.getPath().empty())
        return;
    file.removeStaleTemporaries();
    std::string text;
    std::string fault;
    const PlayerFile::ReadResult result = file.read(text, fault);
    if (result == PlayerFile::ReadResult::Missing)
        return;
    std::vector<std::string> complaints;
    if (result == PlayerFile::ReadResult::Bad || !parse(text, values, complaints, fault)) {
        file.setAside(fault);
        return;
    }
    for (const std::string& complaint : complaints)
        std::cerr << "torvel: " << file.getPath() << ": " << complaint << std::endl;
}

bool Settings::change(const Values& changed)
{
    const bool same = changed == values;
    values = changed;
    if (same || file.getPath().empty())
        return true;
    if (file.isKeptOff()) {
        std::cerr << "torvel: not writing the settings over the damaged " << file.getPath() << std::endl;
        return false;
    }
    const std::string text = format(values);
    std::string fault;
    if (!file.write(text, fault)) {
        std::cerr << "torvel: cannot save the settings to " << file.getPath() << ": " << fault
                  << "; play goes on" << std::endl;
        return false;
    }
    return true;
}
