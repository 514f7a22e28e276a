#pragma once

#include <irrTypes.h>

// What the game is told when it starts. Without arguments it plays as it
// always has; `--raid NUMBER` makes the first air raid the one of that
// number (0 to 4294967295), so that a raid can be played again.
class CommandLine {
public:
    static const char* const usage;   // the one line printed for a bad command line

    bool raidGiven = false;   // --raid was given
    irr::u32 raidNumber = 0;  // its number

    // False for an option it does not know, a missing or malformed number,
    // or a stray argument. Uses getopt_long, so it may be called once a run.
    bool parse(int argc, char** argv);
};
