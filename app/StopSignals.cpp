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
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}

bool StopSignals::requested()
{
    return stopSignal != 0;
}

int StopSignals::received()
{
    return stopSignal;
}
