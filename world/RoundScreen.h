#pragma once

#include <irrTypes.h>

#include "RoundPanel.h"

// What stands in the middle of the screen between rounds: after a round that
// ran to its end the panel with its result, for ten seconds of game time or
// until the next round starts; whenever no round runs and no panel shows
// (before the first round, after a panel, after a round abandoned), the line
// that invites one. Times are game-clock milliseconds; differences are taken
// in wrapping arithmetic.
class RoundScreen {
public:
    static constexpr irr::u32 panelTime = 10000;  // ms

    RoundScreen();

    // A round starts (F9): the invitation and any panel go.
    void roundStarted();
    // A round ran to its end at now; place is where it entered the table of
    // best rounds, or ScoreTable::notEntered.
    void roundEnded(const RoundSummary& round, int place, irr::u32 now);
    // A round is abandoned (F10): no panel, and a panel still showing goes.
    void roundAbandoned();

    bool showsStartHint(irr::u32 now) const { return !running && !showsPanel(now); }
    bool showsPanel(irr::u32 now) const;

    const RoundSummary& getSummary() const { return summary; }
    int getPlace() const { return place; }

private:
    bool running;           // a round was started and has not ended
    bool panelUp;           // a round ended and its panel was not closed
    irr::u32 endTime;       // when that round ended
    RoundSummary summary;   // how it went
    int place;              // where it entered the table, or notEntered
};
