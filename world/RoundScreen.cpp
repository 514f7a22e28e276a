#include "RoundScreen.h"

using namespace irr;

RoundScreen::RoundScreen()
    : running(false), panelUp(false), endTime(0), summary{0, 0, 0, 0}, place(ScoreTable::notEntered)
{
}

void RoundScreen::roundStarted()
{
    running = true;
    panelUp = false;
}

void RoundScreen::roundEnded(const RoundSummary& round, int entered, u32 now)
{
    running = false;
    panelUp = true;
    endTime = now;
    summary = round;
    place = entered;
}

void RoundScreen::roundAbandoned()
{
    running = false;
    panelUp = false;
}

bool RoundScreen::showsPanel(u32 now) const
{
    return panelUp && now - endTime < panelTime;
}
