#pragma once

#include <irrTypes.h>
#include <line3d.h>
#include <vector3d.h>

#include <array>
#include <vector>

#include "RaidArmour.h"
#include "RaidBomb.h"
#include "RaidCraft.h"
#include "RaidDraws.h"
#include "RaidScore.h"
#include "RaidWaves.h"

// The rules of one air raid, without a window: waves from the table, each
// announced for five seconds, aircraft sent so that no more than the wave's
// number fly at once, their attacks, the bombs, the armour and the score,
// until the gun position is lost. Everything runs on the game clock in
// fixed steps of 1/60 s, every step made up however late a frame comes, so
// that the raid keeps to the game clock; the random draws come from the raid's own
// generator, in the order the aircraft are sent, so a raid number always
// gives the same aircraft on the same paths.
//
// What happens is told as events, which the engine's side takes once a
// frame to show and sound them.
class Raid {
public:
    static constexpr irr::u32 waveGap = 5000;     // ms of "WAVE n" before a wave flies
    static constexpr irr::u32 spawnGap = 2000;    // ms at least between two aircraft sent

    struct Event {
        enum Type {
            WaveAnnounced,    // wave: the number now shown
            CraftEntered,     // craft: its index
            CraftHit,         // a hit that did not bring it down
            CraftDowned,      // amount: the points it scored
            CraftLeft,        // flew off the end of its path, or fell out of the sky
            BombDropped,      // bomb: its index
            BombShot,
            BombBurst,        // position: where it landed; amount: the damage
            CannonFired,      // position: the muzzle; target: where the round goes
            GunHit,           // amount: the armour lost
            WaveCleared,      // wave: its number; amount: the bonus, for every aircraft
                              //   downed and no damage taken
            PositionLost,
        };
        Type type;
        irr::u32 time;                       // game time it happened
        irr::u32 wave;
        irr::u32 index;                      // the craft's or the bomb's
        irr::core::vector3df position;
        irr::core::vector3df target;
        irr::u32 amount;
    };

    struct Flying {
        RaidCraft craft;
        bool gone;                // left, or downed and fallen: no longer drawn or tested
        irr::u32 bombsDropped;    // of a bomber's stick
        irr::u32 lastCannon;      // game time of its latest shot
        bool runDone;             // an attacker's strike has been settled
        irr::u32 downTime;        // game time it was downed
    };
    struct Falling {
        RaidBomb bomb;
        bool gone;                // shot or burst
    };

    Raid(irr::u32 startValue, irr::u32 now);

    // Runs the steps due by game time now: one each 1000/60 ms since the start.
    void advance(irr::u32 now);
    // One round's line at game time now: true when it hit an aircraft or a bomb.
    bool shoot(const irr::core::line3df& shot, irr::u32 now);
    // A burst has ended, having hit something or not: the multiplier follows.
    void burstEnded(bool hit) { score.burstEnded(hit); }
    // Hands over what happened since the last call.
    std::vector<Event> takeEvents();

    irr::u32 getStartValue() const { return startValue; }
    irr::u32 getWave() const { return wave; }
    // Whether "WAVE n" is up at now.
    bool isAnnouncing(irr::u32 now) const { return !lost && static_cast<irr::s32>(now - flyFrom) < 0; }
    bool isLost() const { return lost; }
    // Waves cleared before the position was lost.
    irr::u32 getWavesSurvived() const { return wave - 1; }
    irr::u32 getArmour() const { return armour.get(); }
    irr::u32 getPoints() const { return score.getPoints(); }
    irr::u32 getMultiplier() const { return score.getMultiplier(); }
    // Aircraft of this wave still to come or still in the air.
    irr::u32 getAircraftLeft() const;
    irr::u32 getDowned(RaidCraft::Kind kind) const { return downed[kind]; }
    const std::vector<Flying>& getCraft() const { return craft; }
    const std::vector<Falling>& getBombs() const { return bombs; }

    // How long a downed aircraft takes to fall out of the sky.
    static constexpr irr::u32 fallTime = 6000;

private:
    void step(irr::u32 now);
    void announce(irr::u32 wave, irr::u32 now);
    void send(irr::u32 now);
    void attack(Flying& flying, irr::u32 index, irr::u32 now);
    void strike(irr::u32 amount, irr::u32 now);
    void emit(Event::Type type, irr::u32 now, irr::u32 index = 0, irr::u32 amount = 0,
              const irr::core::vector3df& position = {}, const irr::core::vector3df& target = {});
    bool waveOver() const;

    irr::u32 startValue;                     // the raid number
    RaidDraws draws;                         // the raid's own generator
    irr::u32 lastTime;                       // game time of the latest advance
    irr::u32 owed;                           // time since the latest step, in 1/60 ms
    irr::u32 wave;                           // the wave flying or announced
    RaidWaves::Wave line;                    // its line of the table
    std::vector<RaidCraft::Kind> toCome;     // this wave's aircraft not yet sent, next last
    irr::u32 flyFrom;                        // game time the announced wave begins
    irr::u32 lastSent;                       // game time the latest aircraft was sent
    bool sentAny;                            // lastSent holds a time for this wave
    bool damagedThisWave;                    // no clean-wave bonus
    bool escapedThisWave;                    // an aircraft flew off unharmed: not cleared
    bool lost;                               // the gun position is lost
    std::vector<Flying> craft;               // sent this raid, in order; never removed, so indices hold
    std::vector<Falling> bombs;              // likewise
    RaidArmour armour;
    RaidScore score;
    std::array<irr::u32, RaidCraft::KindCount> downed{};  // by kind
    std::vector<Event> events;               // not yet taken
};
