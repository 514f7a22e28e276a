#pragma once

#include <string>

#include "GameMode.h"
#include "RoundScreen.h"
#include "ScoreTable.h"

class Airspace;
class FireUnit;

// The round, as the game has always played it: F9 sends five jets through
// the airspace, one at a time; its end shows the round's panel and enters
// the best rounds. Between plays its screen invites the player to the next.
class RoundMode : public GameMode {
public:
    RoundMode(Airspace& airspace, FireUnit& fireUnit, const std::string& tablePath);

    // The best rounds, read from the player's data folder.
    void loadTable() { table.load(); }

    bool start(irr::u32 now) override;
    void stop() override;
    bool isPlaying() const override;
    void step(irr::u32 now) override;
    bool shoot(const irr::core::line3df& shot, irr::u32 now) override;

    irr::core::stringw hudText(irr::u32 now) const override;
    irr::u32 aircraftLeft() const override;
    irr::u32 points() const override;
    irr::core::rect<irr::s32> drawCentre(irr::video::IVideoDriver* driver, irr::gui::IGUIFont* font,
                                         irr::u32 now) override;
    bool showsPanel(irr::u32 now) const override { return screen.showsPanel(now); }
    bool invites(irr::u32 now) const override { return screen.showsStartHint(now); }
    std::vector<RadarContact> contacts(irr::u32 now) const override;
    bool isMoving(irr::u32 now) const override;

    const RoundScreen& getScreen() const { return screen; }
    const ScoreTable& getTable() const { return table; }

private:
    void end(irr::u32 now);

    Airspace& airspace;
    FireUnit& fireUnit;
    RoundScreen screen;                 // the round's panel, or the invitation
    ScoreTable table;                   // the best rounds
    irr::u32 roundsEndedSeen;           // the airspace's count of rounds ended, as last seen
    irr::u32 burstsAtStart;             // the fire unit's count of bursts when the round began
};
