#pragma once

#include <IEventReceiver.h>

// Sends the engine's log messages to standard error, so that standard output
// carries only the game's own lines (the joystick report, "~Aircraft", and
// the messages about missing files).
class EngineLog : public irr::IEventReceiver {
public:
    // Writes a log event to standard error and takes it; leaves other events.
    static bool report(const irr::SEvent& event);
    // The one receiver that stands in while nothing else takes events.
    static EngineLog& instance();

    bool OnEvent(const irr::SEvent& event) override { return report(event); }
};
