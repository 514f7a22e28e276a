#include "RoundMode.h"

#include "Airspace.h"
#include "FireUnit.h"
#include "FlightRules.h"
#include "HudText.h"
#include "RoundContacts.h"
#include "RoundPanelView.h"

#include <ctime>

using namespace irr;

RoundMode::RoundMode(Airspace& airspace, FireUnit& fireUnit, const std::string& tablePath)
    : airspace(airspace), fireUnit(fireUnit), table(tablePath), roundsEndedSeen(airspace.getRoundsEnded()),
      burstsAtStart(0)
{
}

bool RoundMode::start(u32 now)
{
    // F9 during a round starts it again.
    airspace.start(now);
    screen.roundStarted();
    fireUnit.freshMagazine();
    burstsAtStart = fireUnit.getBurstsFired();
    return true;
}

void RoundMode::stop()
{
    airspace.stop();
    screen.roundAbandoned();
}

bool RoundMode::isPlaying() const
{
    return airspace.isActive();
}

void RoundMode::step(u32 now)
{
    airspace.update(now);
    if (airspace.getRoundsEnded() != roundsEndedSeen) {
        roundsEndedSeen = airspace.getRoundsEnded();
        end(now);
    }
}

void RoundMode::end(u32 now)
{
    const RoundSummary round{airspace.getRoundHits(), FlightRules::aircraftPerRound, airspace.getPoints(),
                             fireUnit.getBurstsFired() - burstsAtStart};
    const ScoreTable::Entry entry{round.points, round.hits, static_cast<u64>(std::time(nullptr))};
    screen.roundEnded(round, table.record(entry), now);
}

bool RoundMode::shoot(const core::line3df& shot, u32)
{
    return airspace.checkHits(shot);
}

core::stringw RoundMode::hudText(u32 now) const
{
    return HudText::compose(fireUnit.isReloading(), fireUnit.getFireControl().reloadSecondsLeft(now),
                            [this] { return fireUnit.getRoundsLeft(); }, airspace.getAircraftLeft(),
                            airspace.getPoints());
}

u32 RoundMode::aircraftLeft() const
{
    return airspace.getAircraftLeft();
}

u32 RoundMode::points() const
{
    return airspace.getPoints();
}

core::rect<s32> RoundMode::drawCentre(video::IVideoDriver* driver, gui::IGUIFont* font, u32 now)
{
    if (!screen.showsPanel(now))
        return core::rect<s32>();
    return RoundPanelView::drawPanel(driver, font, screen.getSummary(), table.getEntries(), screen.getPlace());
}

std::vector<RadarContact> RoundMode::contacts(u32) const
{
    return RoundContacts::of(airspace);
}

bool RoundMode::isMoving(u32) const
{
    return airspace.isActive() || !airspace.getAircraft().empty();
}
