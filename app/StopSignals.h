#pragma once

// SIGTERM, SIGINT and SIGHUP (the terminal the game was started from closed)
// end the game as F12 does: the frame loop sees the request at its next pass
// and closes the device, and the shut-down runs in its usual order with the
// best rounds whole. The handler only notes the signal; everything else
// happens in the loop, where it is safe. A signal that was ignored when the
// game started stays ignored.
class StopSignals {
public:
    // Installs the handler for the three signals.
    static void install();
    // Whether one of them has arrived since install.
    static bool requested();
    // The signal that arrived last, or 0.
    static int received();
};
