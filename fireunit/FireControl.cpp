#include "FireControl.h"

using namespace irr;

FireControl::FireControl()
    : burstRounds(0), triggerHeld(false), burstsLeft(BURSTS_PER_MAGAZINE), reloading(false),
      reloadEndTime(0), dryPresses(0)
{
}

bool FireControl::onButtons(bool trigger, bool reload, u32 now)
{
    bool burstStarted = false;
    if (!trigger) {
        triggerHeld = false;
    } else if (!triggerHeld) {
        // A press that cannot fire is used up all the same: the player lets
        // go and presses again, nothing is queued.
        if (!reloading && burstsLeft > 0 && burstRounds == 0) {
            --burstsLeft;
            burstRounds = ROUNDS_PER_BURST;
            burstStarted = true;
        } else if (burstsLeft == 0 && burstRounds == 0) {
            ++dryPresses;
        }
        triggerHeld = true;
    }

    if (reload && !reloading) {
        reloadEndTime = now + RELOAD_TIME;
        reloading = true;
    }
    return burstStarted;
}

bool FireControl::fireRound()
{
    if (burstRounds == 0)
        return false;
    --burstRounds;
    return true;
}

void FireControl::checkReload(u32 now)
{
    if (!reloading)
        return;
    // The wall clock was set back: the end now lies further ahead than a
    // whole reload, which would keep the guns silent for as long as the
    // clock jumped. The reload goes on for at most its own length from here.
    if (static_cast<s32>(reloadEndTime - now) > static_cast<s32>(RELOAD_TIME))
        reloadEndTime = now + RELOAD_TIME;
    if (static_cast<s32>(now - reloadEndTime) > 0) {
        reloading = false;
        burstsLeft = BURSTS_PER_MAGAZINE;
    }
}

void FireControl::freshMagazine()
{
    burstsLeft = BURSTS_PER_MAGAZINE;
    reloading = false;
}

u32 FireControl::reloadSecondsLeft(u32 now) const
{
    if (!reloading)
        return 0;
    const s32 left = static_cast<s32>(reloadEndTime - now);
    if (left <= 0)
        return 0;
    const u32 ms = static_cast<u32>(left) > RELOAD_TIME ? RELOAD_TIME : static_cast<u32>(left);
    return (ms + 999) / 1000;
}
