#include "RoundContacts.h"

#include "Aircraft.h"
#include "Airspace.h"

std::vector<RadarContact> RoundContacts::of(const Airspace& airspace)
{
    std::vector<RadarContact> contacts;
    contacts.reserve(airspace.getAircraft().size());
    for (const auto& jet : airspace.getAircraft())
        contacts.push_back(RadarContact{jet->getAbsolutePosition(), RadarContact::Kind::Jet, !jet->isAlive()});
    return contacts;
}
