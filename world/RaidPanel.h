#pragma once

#include <irrString.h>
#include <irrTypes.h>

#include <array>
#include <functional>
#include <vector>

#include "RaidTable.h"

// The words of an air raid on the screen, kept apart from drawing so that
// they can be checked without a window: the HUD's lines in a raid, the
// wave's banner, the flash of a hit on the gun, and the panel when the gun
// position is lost.
struct RaidSummary {
    irr::u32 wavesSurvived;
    std::array<irr::u32, 3> downed;   // fighters, bombers, attackers
    irr::u32 points;
    irr::u32 burstsFired;
    irr::u32 burstsHit;
};

class RaidPanel {
public:
    static const wchar_t* const startHint;   // "F8: air raid"
    static const wchar_t* const lostTitle;   // "GUN POSITION LOST"
    static constexpr irr::u32 flashTime = 600;   // ms of red edges after a hit on the gun
    static constexpr irr::u32 panelTime = 15000; // ms the panel stays up

    // The round's three lines with the raid's counts, "ARMOUR: n" under
    // them, and the multiplier ("x2" to "x5") under that while above one.
    static irr::core::stringw hud(bool reloading, const std::function<irr::u32()>& roundsLeft,
                                  irr::u32 aircraftLeft, irr::u32 points, irr::u32 armour, irr::u32 multiplier);
    static irr::core::stringw banner(irr::u32 wave);   // "WAVE 3"
    // How strongly the edges glow red, 1 at the hit down to 0 at flashTime.
    static irr::f32 flash(irr::u32 sinceHit);
    static constexpr irr::u32 shakeTime = 450;   // ms the view shakes after a hit on the gun
    // How far the view is shaken off the sight, degrees right and up: a
    // quick wobble, 1.5 degrees at the hit, dying away by shakeTime.
    static void shake(irr::u32 sinceHit, irr::f32& right, irr::f32& up);
    // The panel's lines: the title, the waves survived, the aircraft downed
    // by kind, the points and the accuracy (bursts that hit, in whole per cent).
    static std::vector<irr::core::stringw> lines(const RaidSummary& raid);
    // After a gap, "BEST RAIDS" and a line for each entry with its raid
    // number; the line of the entry at place (or none) is returned as marked.
    static void addTable(std::vector<irr::core::stringw>& lines, const std::vector<RaidTable::Entry>& table,
                         int place, int& marked);
};
