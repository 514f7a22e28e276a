#pragma once

#include <irrTypes.h>

// The trigger, burst and reload machine of the turret. It knows nothing of
// the engine: the caller hands in the buttons of each joystick event and the
// real time, and asks once per frame for the next round.
//
// A magazine holds five bursts of sixteen rounds, one round per frame. A
// reload takes fifteen seconds and refills the magazine; a burst already
// running goes on through it.
class FireControl {
public:
    static constexpr irr::u32 ROUNDS_PER_BURST = 16;
    static constexpr irr::u32 BURSTS_PER_MAGAZINE = 5;
    static constexpr irr::u32 RELOAD_TIME = 15000;   // milliseconds

    FireControl();

    // The trigger (button 0) and reload (button 2) states of one joystick
    // event at real time now. Returns true when a burst starts, the moment
    // for the fire sound. Only a new press of the trigger can start a burst;
    // the reload button is looked at in every event.
    bool onButtons(bool trigger, bool reload, irr::u32 now);

    // Uses up the next round of the running burst. Returns false, and
    // changes nothing, when no burst is running.
    bool fireRound();

    // Ends the reload at the first time strictly after its end. The real
    // time is wall-clock milliseconds cut to 32 bits and wraps, so the end is
    // compared by the wrapping difference: a reload begun just before the
    // wrap still lasts its fifteen seconds. Should the clock be set back, the
    // reload still ends at most fifteen seconds after the time seen here.
    void checkReload(irr::u32 now);

    // A new round of the game starts with a full magazine: the bursts are
    // refilled and a reload under way is no longer needed. A burst already
    // running fires its last rounds, as it does through a reload.
    void freshMagazine();

    // Seconds left of the reload at now, rounded up: 15 right after it
    // starts, 1 in its last second; 0 when no reload runs.
    irr::u32 reloadSecondsLeft(irr::u32 now) const;

    // Which muzzle flashes show while the round with the given number of
    // rounds still to come is fired: right on 16, 12, 8, 4, left on 14, 10,
    // 6, 2, a dark frame between them.
    static bool leftFlashOn(irr::u32 burstRounds) { return burstRounds % 4 == 2; }
    static bool rightFlashOn(irr::u32 burstRounds) { return burstRounds % 4 == 0; }

    // Bursts left times sixteen plus the rounds still to come: 80 when full.
    irr::u32 getRoundsLeft() const { return burstsLeft * ROUNDS_PER_BURST + burstRounds; }
    irr::u32 getBurstRounds() const { return burstRounds; }
    irr::u32 getBurstsLeft() const { return burstsLeft; }
    bool isReloading() const { return reloading; }
    bool isTriggerHeld() const { return triggerHeld; }
    irr::u32 getReloadEndTime() const { return reloadEndTime; }
    // New presses of the trigger that found the magazine empty, ever: each
    // one is the click of a dry trigger.
    irr::u32 getDryPresses() const { return dryPresses; }

private:
    irr::u32 burstRounds;    // rounds still to fire in the running burst; 0 = none
    bool triggerHeld;        // the trigger was down in the latest joystick event
    irr::u32 burstsLeft;     // bursts left in the magazine
    bool reloading;          // a reload is under way
    irr::u32 reloadEndTime;  // real time after which the reload is complete
    irr::u32 dryPresses;     // new presses that found no round to fire
};
