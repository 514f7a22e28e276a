#pragma once

#include <irrTypes.h>
#include <line3d.h>
#include <memory>
#include <vector>

class Aircraft;

// Runs a round: five jets on random straight paths past the turret, the
// removal of finished jets, the hit check and the points. There is one, made
// with the engine context and never destroyed. Times are the game clock's,
// handed down by the frame loop.
class Airspace {
public:
    Airspace();
    ~Airspace();

    // Begins a round at game time now: five jets to come, no points. Jets in
    // flight stay.
    void start(irr::u32 now);
    // Destroys every jet at once; the counters stay for the HUD.
    void stop();
    // Once per frame at game time now: spawns on schedule, ends the round,
    // moves the fly-by sounds and removes jets that have reached the end of
    // their path.
    void update(irr::u32 now);
    // True when the shot hit at least one live jet; each hit scores.
    bool checkHits(const irr::core::line3df& shot);

    irr::u32 getAircraftLeft() const { return aircraftLeft; }
    irr::u32 getPoints() const { return points; }

    bool isActive() const { return active; }
    const std::vector<std::unique_ptr<Aircraft>>& getAircraft() const { return aircraft; }

private:
    Airspace(const Airspace&) = delete;
    Airspace& operator=(const Airspace&) = delete;

    void spawn(irr::u32 now);
    void destroyAll();

    irr::u32 lastSpawnTime;                          // game time of the latest spawn
    std::vector<std::unique_ptr<Aircraft>> aircraft; // in flight, oldest first
    bool active;                                     // a round is running
    irr::u32 aircraftLeft;                           // jets still to come this round
    irr::u32 points;                                 // points of this round
};
