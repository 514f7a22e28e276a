// Changes the settings for ever through the real settings code, for the kill
// test: change n sets the effects volume to n % 101 and the invert to n's
// oddness. After each change has been written the writer prints its number.
//
//     settings_writer FIRST      the file lives where the game keeps it ($XDG_CONFIG_HOME)

#include "Settings.h"

#include <cstdlib>
#include <string>

#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    Settings settings(Settings::defaultPath());
    settings.load();
    for (unsigned long n = std::strtoul(argv[1], nullptr, 10);; ++n) {
        Settings::Values values = settings.get();
        values.effectsVolume = static_cast<int>(n % 101);
        values.invertVertical = n % 2 == 1;
        if (!settings.change(values))
            return 1;
        const std::string line = std::to_string(n) + "\n";
        if (::write(1, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
            return 1;
    }
}
