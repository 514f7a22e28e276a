#pragma once

#include <irrTypes.h>
#include <line3d.h>
#include <memory>
#include <vector>

class Aircraft;

// Runs a round: five jets on random straight paths past the turret, the
// removal of finished jets, the hit check and the points.
class Airspace {
public:
    Airspace();

    void start();
    void stop();
    void update();
    bool checkHits(const irr::core::line3df& shot);

    irr::u32 getAircraftLeft() const { return aircraftLeft; }
    irr::u32 getPoints() const { return points; }

    // The same as start() and update(), at a given real time, so that a round
    // can be driven without waiting for the clock.
    void start(irr::u32 now);
    void update(irr::u32 now);

    bool isActive() const { return active; }
    const std::vector<std::unique_ptr<Aircraft>>& getAircraft() const { return aircraft; }

private:
    Airspace(const Airspace&) = delete;
    Airspace& operator=(const Airspace&) = delete;

    void spawn();

    irr::u32 lastSpawnTime;                          // real time of the latest spawn
    std::vector<std::unique_ptr<Aircraft>> aircraft; // in flight, oldest first
    bool active;                                     // a round is running
    irr::u32 aircraftLeft;                           // jets still to come this round
    irr::u32 points;                                 // points of this round
};
