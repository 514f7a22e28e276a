#include "RoundScreen.h"

using namespace irr;

RoundScreen::RoundScreen()
    : beforeFirstRound(true), panelUp(false), endTime(0), summary{0, 0, 0, 0}, place(ScoreTable::notEntered)
{
}

void RoundScreen::roundStarted()
{
    beforeFirstRound = false;
    panelUp = false;
}

void RoundScreen::roundEnded(const RoundSummary& round, int entered, u32 now)
{
    panelUp = true;
    endTime = now;
    summary = round;
    place = entered;
}

void RoundScreen::roundAbandoned()
{
    panelUp = false;
}

bool RoundScreen::showsPanel(u32 now) const
{
    return panelUp && now - endTime < panelTime;
}
