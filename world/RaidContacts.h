#pragma once

#include <irrTypes.h>

#include <vector>

#include "RadarContact.h"

class Raid;

// A raid's aircraft and bombs in the sky at a moment, as the radar shows
// them. An aircraft brought down is falling out of the fight: it has no mark.
class RaidContacts {
public:
    static std::vector<RadarContact> of(const Raid& raid, irr::u32 now);
};
