#include "Airspace.h"

#include "Aircraft.h"
#include "EngineContext.h"
#include "FlightRules.h"

#include <irrlicht.h>

using namespace irr;

Airspace::Airspace()
    : lastSpawnTime(0),
      active(false),
      aircraftLeft(0),
      points(0)
{
}

// Out of line, where Aircraft is complete. The game's own instance is never
// destroyed; any other one takes its jets with it.
Airspace::~Airspace() = default;

void Airspace::start(u32 now)
{
    active = true;
    lastSpawnTime = now - FlightRules::startLead;
    aircraftLeft = FlightRules::aircraftPerRound;
    points = 0;
}

void Airspace::stop()
{
    destroyAll();
    active = false;
}

void Airspace::update(u32 now)
{
    if (active && FlightRules::spawnDue(now, lastSpawnTime)) {
        if (aircraftLeft > 0) {
            spawn(now);
            --aircraftLeft;
            lastSpawnTime = now;
        } else {
            destroyAll();
            active = false;
        }
    }

    // A finished jet gets its last update and leaves at once; the one that
    // moves into its place is updated in the same pass.
    for (auto it = aircraft.begin(); it != aircraft.end();) {
        (*it)->update(now);
        if ((*it)->hasFinished())
            it = aircraft.erase(it);
        else
            ++it;
    }
}

bool Airspace::checkHits(const core::line3df& shot)
{
    bool anyHit = false;
    for (const std::unique_ptr<Aircraft>& jet : aircraft) {
        if (jet->isAlive() && jet->hit(shot)) {
            points = FlightRules::pointsAfterHit(points, jet->getAbsolutePosition());
            anyHit = true;
        }
    }
    return anyHit;
}

void Airspace::spawn(u32 now)
{
    IRandomizer* random = getDevice()->getRandomizer();
    const f32 headingDraw = random->frand();
    const f32 offsetDraw = random->frand();
    const f32 altitudeDraw = random->frand();
    const f32 timeDraw = random->frand();
    aircraft.push_back(std::make_unique<Aircraft>(
        FlightRules::pathFromDraws(headingDraw, offsetDraw, altitudeDraw),
        FlightRules::flightTimeFromDraw(timeDraw), now));
}

void Airspace::destroyAll()
{
    // First to last, so the "~Aircraft" lines come in the order of flight.
    for (std::unique_ptr<Aircraft>& jet : aircraft)
        jet.reset();
    aircraft.clear();
}
