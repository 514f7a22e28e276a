#include "RaidPanel.h"

#include "HudText.h"

#include <cmath>

using namespace irr;

const wchar_t* const RaidPanel::startHint = L"F8: air raid";
const wchar_t* const RaidPanel::lostTitle = L"GUN POSITION LOST";

core::stringw RaidPanel::hud(bool reloading, const std::function<u32()>& roundsLeft, u32 aircraftLeft, u32 points,
                             u32 armour, u32 multiplier)
{
    core::stringw text = HudText::compose(reloading, roundsLeft, aircraftLeft, points);
    text += L"\nARMOUR: ";
    text += core::stringw(core::stringc(armour));
    if (multiplier > 1) {
        text += L"\nx";
        text += core::stringw(core::stringc(multiplier));
    }
    return text;
}

core::stringw RaidPanel::banner(u32 wave)
{
    return core::stringw(core::stringc("WAVE ") + core::stringc(wave));
}

f32 RaidPanel::flash(u32 sinceHit)
{
    return sinceHit >= flashTime ? 0.0f : 1.0f - static_cast<f32>(sinceHit) / static_cast<f32>(flashTime);
}

void RaidPanel::addTable(std::vector<core::stringw>& lines, const std::vector<RaidTable::Entry>& table, int place,
                         int& marked)
{
    marked = -1;
    if (table.empty())
        return;
    lines.emplace_back(L"");
    lines.emplace_back(L"BEST RAIDS");
    for (std::size_t i = 0; i < table.size(); ++i) {
        const RaidTable::Entry& entry = table[i];
        if (static_cast<int>(i) == place)
            marked = static_cast<int>(lines.size());
        lines.emplace_back(core::stringc(static_cast<u32>(i + 1)) + ".  " + core::stringc(entry.points) +
                           "  WAVES " + core::stringc(entry.waves) + "  RAID " + core::stringc(entry.number));
    }
}

void RaidPanel::shake(u32 sinceHit, f32& right, f32& up)
{
    right = up = 0.0f;
    if (sinceHit >= shakeTime)
        return;
    const f32 size = 1.5f * (1.0f - static_cast<f32>(sinceHit) / static_cast<f32>(shakeTime));
    const f32 t = static_cast<f32>(sinceHit) / 1000.0f;
    right = size * std::sin(t * 2.0f * core::PI * 23.0f);
    up = size * std::cos(t * 2.0f * core::PI * 17.0f);
}

std::vector<core::stringw> RaidPanel::lines(const RaidSummary& raid)
{
    const auto number = [](u32 n) { return core::stringc(n); };
    const auto counted = [&number](u32 n, const char* one, const char* many) {
        return number(n) + " " + (n == 1 ? one : many);
    };
    std::vector<core::stringw> out;
    out.emplace_back(lostTitle);
    out.emplace_back(core::stringc("WAVES SURVIVED: ") + number(raid.wavesSurvived));
    out.emplace_back(core::stringc("DOWNED: ") + counted(raid.downed[0], "FIGHTER", "FIGHTERS") + ", " +
                     counted(raid.downed[1], "BOMBER", "BOMBERS") + ", " +
                     counted(raid.downed[2], "ATTACKER", "ATTACKERS"));
    out.emplace_back(core::stringc("POINTS: ") + number(raid.points));
    const u32 accuracy = raid.burstsFired == 0 ? 0 : raid.burstsHit * 100 / raid.burstsFired;
    out.emplace_back(core::stringc("ACCURACY: ") + number(accuracy) + "% OF " +
                     counted(raid.burstsFired, "BURST", "BURSTS"));
    return out;
}
