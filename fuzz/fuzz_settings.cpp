// The settings file as the game meets it: the text through the parser, and
// the same bytes as the file in the player's configuration folder, loaded at
// start and written again when a setting changes.
#include "Settings.h"
#include "ScratchFolder.h"

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Every value read lies within its range, whatever the file said.
bool inRange(const Settings::Values& values)
{
    return values.mouseSensitivity >= Settings::minSensitivity && values.mouseSensitivity <= Settings::maxSensitivity
           && values.effectsVolume >= 0 && values.effectsVolume <= 100 && values.joystickFire >= 0
           && values.joystickFire <= Settings::maxButton && values.joystickReload >= 0
           && values.joystickReload <= Settings::maxButton;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    Settings::Values values;
    std::vector<std::string> complaints;
    std::string fault;
    if (Settings::parse(text, values, complaints, fault)) {
        // What was read is what the game could have written, and reads back the same.
        if (!inRange(values))
            std::abort();
        Settings::Values again;
        std::vector<std::string> none;
        if (!Settings::parse(Settings::format(values), again, none, fault) || again != values || !none.empty())
            std::abort();
    }

    const ScratchFolder& folder = ScratchFolder::shared();
    folder.clear();
    const std::string path = folder.write("settings", data, size);
    Settings settings(path);
    settings.load();
    if (!inRange(settings.get()))
        std::abort();
    Settings::Values changed = settings.get();
    changed.invertVertical = !changed.invertVertical;
    settings.change(changed);
    std::cerr.clear();
    return 0;
}
