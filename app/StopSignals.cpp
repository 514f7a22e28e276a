#include "StopSignals.h"

#include <csignal>
#include <initializer_list>

namespace {

volatile std::sig_atomic_t stopSignal = 0;  // the signal that asks the game to end, 0 for none

void noteStop(int signal)
{
    stopSignal = signal;
}

} // namespace

void StopSignals::install()
{
    struct sigaction action {};
    action.sa_handler = noteStop;
    sigemptyset(&action.sa_mask);
    // Calls the signal interrupts go on: the loop never waits long and
    // sees the request at its next pass.
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        // One ignored when the game starts (nohup, or a background job of a
        // script) stays ignored, as the one who started it asked.
        struct sigaction before {};
        if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN)
            continue;
        sigaction(signal, &action, nullptr);
    }
}

bool StopSignals::requested()
{
    return stopSignal != 0;
}

int StopSignals::received()
{
    return stopSignal;
}
