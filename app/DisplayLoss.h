#pragma once

// The X server gone in the middle of play (ended, or its connection cut).
// Xlib's default answer prints a few lines and calls exit, which runs the
// engine's and the drivers' clean-up against a display that no longer
// exists and can crash on the way out. The game instead says so in one line
// on standard error and ends at once with status 1. Nothing is lost: the
// best rounds are only ever written whole, at the end of a round.
class DisplayLoss {
public:
    // Installs the handler; before the device opens its window.
    static void install();
    // The line on standard error.
    static const char* const message;
};
