#include "RaidWaves.h"

#include <algorithm>

using irr::f32;
using irr::u32;

const std::vector<RaidWaves::Wave>& RaidWaves::table()
{
    // fighters, bombers, attackers, at once, speed, altitude band, attack strength
    static const std::vector<Wave> lines = {
        {3, 0, 0, 1, 1.00f, 150.0f, 400.0f, 0.0f},   // gentle: one at a time, nothing shoots back
        {5, 0, 0, 2, 1.00f, 150.0f, 450.0f, 0.0f},
        {4, 2, 0, 2, 1.05f, 150.0f, 450.0f, 1.0f},   // the first bombers
        {4, 2, 2, 3, 1.10f, 120.0f, 500.0f, 1.0f},   // the first attackers
        {5, 2, 3, 4, 1.15f, 120.0f, 500.0f, 1.2f},
        {6, 3, 3, 4, 1.20f, 100.0f, 550.0f, 1.4f},
        {6, 3, 4, 5, 1.25f, 100.0f, 550.0f, 1.6f},
    };
    return lines;
}

RaidWaves::Wave RaidWaves::wave(u32 number)
{
    const std::vector<Wave>& lines = table();
    const u32 index = std::max<u32>(number, 1) - 1;
    if (index < lines.size())
        return lines[index];
    Wave grown = lines.back();
    const u32 beyond = index - static_cast<u32>(lines.size() - 1);
    grown.fighters += beyond;
    grown.bombers += beyond / 2;
    grown.attackers += beyond / 2;
    grown.atOnce = std::min<u32>(grown.atOnce + beyond / 2, 8);
    grown.speedFactor = std::min(grown.speedFactor + 0.05f * static_cast<f32>(beyond), 1.6f);
    grown.attackStrength += 0.2f * static_cast<f32>(beyond);
    return grown;
}
