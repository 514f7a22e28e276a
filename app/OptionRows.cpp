#include "OptionRows.h"

#include <cmath>
#include <cstdio>

using namespace irr;

namespace {

const OptionRows::Shape shapes[OptionRows::rowCount] = {
    {OptionRows::Kind::Slider, L"Mouse sensitivity"},
    {OptionRows::Kind::Switch, L"Invert vertical"},
    {OptionRows::Kind::Slider, L"Effects volume"},
    {OptionRows::Kind::Switch, L"Fullscreen (F11)"},
    {OptionRows::Kind::Switch, L"Radar"},
    {OptionRows::Kind::Switch, L"3D sound (HRTF)"},
    {OptionRows::Kind::StickButton, L"Stick: fire button"},
    {OptionRows::Kind::StickButton, L"Stick: reload button"},
    {OptionRows::Kind::Switch, L"Stick: invert turn"},
    {OptionRows::Kind::Switch, L"Stick: invert raise"},
    {OptionRows::Kind::Keys, L"Turn left"},
    {OptionRows::Kind::Keys, L"Turn right"},
    {OptionRows::Kind::Keys, L"Raise"},
    {OptionRows::Kind::Keys, L"Lower"},
    {OptionRows::Kind::Keys, L"Fire"},
    {OptionRows::Kind::Keys, L"Reload"},
    {OptionRows::Kind::Keys, L"Fine aim"},
    {OptionRows::Kind::Keys, L"Pause"},
    {OptionRows::Kind::Keys, L"Screenshot"},
    {OptionRows::Kind::Command, L"Default keys"},
    {OptionRows::Kind::Command, L"Back"},
};

// Sensitivity in hundredths of a degree a pixel, volume in steps of 5 %.
constexpr int sensitivitySteps = 19;  // 0.01 to 0.20
constexpr int volumeSteps = 20;       // 0 to 100 %

bool* switchOf(Settings::Values& values, int row)
{
    switch (row) {
    case OptionRows::InvertVertical: return &values.invertVertical;
    case OptionRows::Fullscreen: return &values.fullscreen;
    case OptionRows::Radar: return &values.radar;
    case OptionRows::Hrtf: return &values.hrtf;
    case OptionRows::StickInvertX: return &values.joystickInvertX;
    case OptionRows::StickInvertY: return &values.joystickInvertY;
    default: return nullptr;
    }
}

int* buttonOf(Settings::Values& values, int row)
{
    if (row == OptionRows::StickFire)
        return &values.joystickFire;
    if (row == OptionRows::StickReload)
        return &values.joystickReload;
    return nullptr;
}

std::wstring widened(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

} // namespace

const OptionRows::Shape& OptionRows::shape(int row)
{
    return shapes[row >= 0 && row < rowCount ? row : Back];
}

const wchar_t* OptionRows::bindingLabel(Settings::Binding binding)
{
    return shape(FirstKeys + binding).label;
}

int OptionRows::sliderSteps(int row)
{
    return row == Sensitivity ? sensitivitySteps : row == EffectsVolume ? volumeSteps : 0;
}

int OptionRows::sliderPosition(const Settings::Values& values, int row)
{
    if (row == Sensitivity)
        return static_cast<int>(std::lround(values.mouseSensitivity * 100.0f)) - 1;
    if (row == EffectsVolume)
        return (values.effectsVolume + 2) / 5;
    return 0;
}

Settings::Values OptionRows::withSlider(const Settings::Values& values, int row, int position)
{
    Settings::Values changed = values;
    const int steps = sliderSteps(row);
    if (steps == 0)
        return changed;
    position = position < 0 ? 0 : position > steps ? steps : position;
    if (position == sliderPosition(values, row))
        return changed;  // a value off the steps, from the file, stays until moved
    if (row == Sensitivity)
        changed.mouseSensitivity = static_cast<float>(position + 1) / 100.0f;
    else
        changed.effectsVolume = position * 5;
    return changed;
}

Settings::Values OptionRows::stepped(const Settings::Values& values, int row, int direction)
{
    Settings::Values changed = values;
    switch (shape(row).kind) {
    case Kind::Slider:
        return withSlider(values, row, sliderPosition(values, row) + direction);
    case Kind::Switch:
        return flipped(values, row);
    case Kind::StickButton: {
        int* button = buttonOf(changed, row);
        const int count = Settings::maxButton + 1;
        const int other = row == StickFire ? changed.joystickReload : changed.joystickFire;
        int next = (*button + direction + count) % count;
        if (next == other)
            next = (next + direction + count) % count;
        *button = next;
        return changed;
    }
    default:
        return changed;
    }
}

Settings::Values OptionRows::flipped(const Settings::Values& values, int row)
{
    Settings::Values changed = values;
    if (bool* on = switchOf(changed, row))
        *on = !*on;
    return changed;
}

bool OptionRows::isOn(const Settings::Values& values, int row)
{
    Settings::Values copy = values;
    const bool* on = switchOf(copy, row);
    return on != nullptr && *on;
}

std::wstring OptionRows::valueText(const Settings::Values& values, int row)
{
    wchar_t text[32];
    switch (shape(row).kind) {
    case Kind::Slider:
        if (row == Sensitivity)
            std::swprintf(text, 32, L"%.2f", static_cast<double>(values.mouseSensitivity));
        else
            std::swprintf(text, 32, L"%d %%", values.effectsVolume);
        return text;
    case Kind::Switch:
        return isOn(values, row) ? L"on" : L"off";
    case Kind::StickButton: {
        Settings::Values copy = values;
        std::swprintf(text, 32, L"button %d", *buttonOf(copy, row));
        return text;
    }
    default:
        return std::wstring();
    }
}

std::wstring OptionRows::keyText(const Settings::Values& values, int row, std::size_t slot)
{
    if (shape(row).kind != Kind::Keys || slot >= Settings::keysPerBinding)
        return std::wstring();
    const EKEY_CODE key = values.keys[bindingOf(row)][slot];
    return key == Settings::noKey ? L"-" : widened(Settings::keyName(key));
}

bool OptionRows::bindKey(Settings::Values& values, Settings::Binding binding, std::size_t slot, EKEY_CODE key,
                         std::wstring& message)
{
    key = Settings::commonKey(key);
    const std::string name = Settings::keyName(key);
    if (key == KEY_F12) {
        message = L"F12 always quits: it can not be bound";
        return false;
    }
    if (key >= KEY_F8 && key <= KEY_F11) {
        message = widened(std::string("F") + std::to_string(key - KEY_F1 + 1)) + L" is the game's own: it can not be bound";
        return false;
    }
    if (name.empty()) {
        message = L"That key can not be bound";
        return false;
    }
    const Settings::Binding holder = Settings::holderOf(values, key);
    if (holder != Settings::bindingCount && holder != binding) {
        message = widened(name) + L" is taken by " + bindingLabel(holder) + L"; " + bindingLabel(binding)
            + L" stays as it was";
        return false;
    }
    Settings::Keys& keys = values.keys[binding];
    for (EKEY_CODE& held : keys)
        if (held == key)
            held = Settings::noKey;
    keys[slot] = key;
    // The first place is filled first, as the file keeps it.
    if (keys[0] == Settings::noKey)
        std::swap(keys[0], keys[1]);
    message = std::wstring(bindingLabel(binding)) + L": " + widened(name);
    return true;
}

void OptionRows::clearKey(Settings::Values& values, Settings::Binding binding, std::size_t slot)
{
    Settings::Keys& keys = values.keys[binding];
    keys[slot] = Settings::noKey;
    if (keys[0] == Settings::noKey)
        std::swap(keys[0], keys[1]);
}

bool OptionRows::bindButton(Settings::Values& values, int row, int button, std::wstring& message)
{
    int* target = buttonOf(values, row);
    if (target == nullptr || button < 0 || button > Settings::maxButton) {
        message = L"That button can not be bound";
        return false;
    }
    const int other = row == StickFire ? values.joystickReload : values.joystickFire;
    const wchar_t* otherName = row == StickFire ? L"the reload" : L"the fire";
    if (button == other) {
        message = L"Button " + std::to_wstring(button) + L" is taken by " + otherName + L" button";
        return false;
    }
    *target = button;
    message = std::wstring(shape(row).label) + L" " + std::to_wstring(button);
    return true;
}
