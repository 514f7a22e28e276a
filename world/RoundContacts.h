#pragma once

#include <vector>

#include "RadarContact.h"

class Airspace;

// The round's jets as the radar shows them.
class RoundContacts {
public:
    static std::vector<RadarContact> of(const Airspace& airspace);
};
