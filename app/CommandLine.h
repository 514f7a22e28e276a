#pragma once

#include <string>

// The game's options, read with getopt_long:
//
//     --fullscreen    fullscreen for this run, whatever the settings say
//     --windowed      in a window for this run
//     --help          what the options are
class CommandLine {
public:
    enum class Window { AsSet, Fullscreen, Windowed };

    // False, with the reason in fault, for an option it does not know or an
    // argument it does not take.
    bool parse(int argc, char** argv);

    Window getWindow() const { return window; }
    bool wantsHelp() const { return help; }
    const std::string& getFault() const { return fault; }

    static const char* usage();

private:
    Window window = Window::AsSet;  // the window asked for this run
    bool help = false;              // --help was given
    std::string fault;              // why parse failed
};
