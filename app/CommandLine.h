#pragma once

#include <irrTypes.h>

#include <string>

// The game's options, read with getopt_long. Without any it plays as it
// always has.
//
//     --raid NUMBER   the first air raid is the one of that number
//                     (0 to 4294967295), so that a raid can be played again
//     --fullscreen    fullscreen for this run, whatever the settings say
//     --windowed      in a window for this run
//     --help          what the options are
class CommandLine {
public:
    enum class Window { AsSet, Fullscreen, Windowed };

    // False, with the reason in fault, for an option it does not know, a
    // missing or malformed number, or an argument it does not take.
    bool parse(int argc, char** argv);

    Window getWindow() const { return window; }
    bool wantsHelp() const { return helpWanted; }
    bool hasRaidNumber() const { return raidGiven; }
    irr::u32 getRaidNumber() const { return raidNumber; }
    const std::string& getFault() const { return fault; }

    // The one line printed, after the fault, for a bad command line.
    static const char* usage();
    // What --help prints: the usage line and a line for each option.
    static const char* help();

private:
    Window window = Window::AsSet;  // the window asked for this run
    bool helpWanted = false;        // --help was given
    bool raidGiven = false;         // --raid was given
    irr::u32 raidNumber = 0;        // its number
    std::string fault;              // why parse failed
};
