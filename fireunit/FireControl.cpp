#include "FireControl.h"

using namespace irr;

FireControl::FireControl()
    : burstRounds(0), triggerHeld(false), burstsLeft(BURSTS_PER_MAGAZINE), reloading(false),
      reloadEndTime(0)
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
    if (reloading && static_cast<s32>(now - reloadEndTime) > 0) {
        reloading = false;
        burstsLeft = BURSTS_PER_MAGAZINE;
    }
}
