#include "RaidContacts.h"

#include "Raid.h"

namespace {

RadarContact::Kind kindOf(RaidCraft::Kind kind)
{
    switch (kind) {
    case RaidCraft::Bomber:
        return RadarContact::Kind::Bomber;
    case RaidCraft::Attacker:
        return RadarContact::Kind::Attacker;
    default:
        return RadarContact::Kind::Fighter;
    }
}

} // namespace

std::vector<RadarContact> RaidContacts::of(const Raid& raid, irr::u32 now)
{
    std::vector<RadarContact> contacts;
    for (const Raid::Flying& flying : raid.getCraft())
        if (!flying.gone && !flying.craft.isDown())
            contacts.push_back(RadarContact{flying.craft.positionAt(now), kindOf(flying.craft.getKind()),
                                            flying.craft.getHits() > 0});
    for (const Raid::Falling& falling : raid.getBombs())
        if (!falling.gone)
            contacts.push_back(RadarContact{falling.bomb.positionAt(now), RadarContact::Kind::Bomb, false});
    return contacts;
}
