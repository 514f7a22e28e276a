#pragma once

#include <irrTypes.h>
#include <line3d.h>

#include <memory>
#include <string>

#include "GameMode.h"
#include "Raid.h"
#include "RaidScene.h"
#include "RaidTable.h"

class FireUnit;

// The air raid as a way to play beside the round: F8 starts a raid, F10
// abandons it. It steps the raid's rules once a frame, follows the fire
// unit's bursts for the multiplier and the accuracy, takes the rounds'
// lines while it runs and hands what happened to its scene. When the gun
// position is lost the raid enters the best raids, and its panel stays
// until the next start or for RaidPanel::panelTime.
class RaidMode : public GameMode {
public:
    RaidMode(irr::scene::ISceneManager* sceneManager, torvel::AudioManager* audio, HitEffects* hitEffects,
             const FireUnit& fireUnit, const std::string& tablePath);

    void preload() { scene.preload(); }
    // The best raids, read from the player's data folder.
    void loadTable() { table.load(); }
    // The next raid plays this raid number rather than one drawn from the clock.
    void playNext(irr::u32 number) { nextNumber = number; numberGiven = true; }

    // A new raid at game time now, unless one is flying.
    bool start(irr::u32 now) override;
    // Ends the raid at once: nothing shown, nothing kept.
    void stop() override;
    bool isPlaying() const override { return isRunning(); }
    void step(irr::u32 now) override;
    bool shoot(const irr::core::line3df& shot, irr::u32 now) override;

    irr::core::stringw hudText(irr::u32 now) const override;
    irr::u32 aircraftLeft() const override { return raid ? raid->getAircraftLeft() : 0; }
    irr::u32 points() const override { return raid ? raid->getPoints() : 0; }
    void drawOverHud(irr::video::IVideoDriver* driver, irr::u32 now) const override;
    irr::core::rect<irr::s32> drawCentre(irr::video::IVideoDriver* driver, irr::gui::IGUIFont* font,
                                         irr::u32 now) override;
    bool showsPanel(irr::u32) const override { return raid && raid->isLost(); }
    std::vector<RadarContact> contacts(irr::u32 now) const override;
    bool isMoving(irr::u32) const override { return holdsScreen(); }
    void shake(irr::u32 now, irr::f32& right, irr::f32& up) const override;

    // A raid is flying (not lost, not abandoned).
    bool isRunning() const { return raid && !raid->isLost(); }
    // A raid flies or its panel shows: the screen is the raid's.
    bool holdsScreen() const { return raid != nullptr; }
    // The raid that runs or was lost last; null after an abandon or before the first.
    const Raid* getRaid() const { return raid.get(); }
    const RaidScene& getScene() const { return scene; }
    const RaidTable& getTable() const { return table; }
    irr::u32 getBurstsFired() const { return burstsFired; }
    irr::u32 getBurstsHit() const { return burstsHit; }

private:
    void followBursts();
    void settleBurst();
    void lose(irr::u32 now);

    const FireUnit& fireUnit;
    std::unique_ptr<Raid> raid;
    RaidScene scene;
    RaidTable table;          // the best raids, beside the best rounds
    int place;                // where the last raid entered the table, or RaidTable::notEntered
    irr::u32 lostAt;          // game time the last raid's gun position was lost
    irr::u32 nextNumber;      // the raid number asked for
    bool numberGiven;         // nextNumber holds one, for the next raid only
    irr::u32 burstsSeen;      // the fire unit's count at the last step
    bool burstOpen;           // a burst of the raid is being fired
    irr::u32 burstHits;       // rounds of the open burst that hit
    irr::u32 burstsFired;     // bursts of this raid
    irr::u32 burstsHit;       // of them, the ones that hit
};
