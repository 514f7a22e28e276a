#pragma once

#include <irrTypes.h>
#include <line3d.h>
#include <vector3d.h>

#include <memory>

namespace irr { namespace scene { class IMeshSceneNode; class IParticleSystemSceneNode; class ISceneManager; class ISceneNode; class ISceneNodeAnimator; } }
namespace torvel { class AudioSource; }
class EngineSound;

// One target jet: a mesh node carried along a straight path by a fly-straight
// animator, facing along it, with a fly-by sound that starts shortly before
// mid-path and then follows it. The first shot across its box sets it
// smoking; it flies on to the end of its path all the same.
//
// Without its mesh the jet has no node: it cannot be seen or hit, and its
// flight is timed on the game clock instead of by the animator, so that a
// round still runs its course. The game clock and the engine's scene time,
// which drives the animator, stand still together while the game is paused.
class Aircraft {
public:
    // Starts the flight at game time startTime (the caller's now).
    Aircraft(const irr::core::line3df& path, irr::u32 flightTime, irr::u32 startTime);
    ~Aircraft();

    // Loads what the first jet and the first hit would otherwise load in the
    // middle of play: the jet mesh and the smoke's pictures.
    static void preload();

    Aircraft(const Aircraft&) = delete;
    Aircraft& operator=(const Aircraft&) = delete;

    // True when the shot crosses the jet's box; the first such shot starts the smoke.
    bool hit(const irr::core::line3df& shot);
    // Where the jet is: the node's absolute position, or for a jet without a
    // node, its place on the path at the time of its last update.
    irr::core::vector3df getAbsolutePosition() const;
    bool isAlive() const { return alive; }
    // True once the jet has reached the end of its path.
    bool hasFinished() const;
    // Per-frame fly-by sound handling at game time now.
    void update(irr::u32 now);

    irr::scene::IMeshSceneNode* getNode() const { return node; }
    torvel::AudioSource* getSound() const { return sound; }
    // The engines' loop, heard while the jet flies; null without sound.
    const EngineSound* getEngineSound() const { return engine.get(); }
    const irr::core::line3df& getPath() const { return path; }
    irr::u32 getFlightTime() const { return flightTime; }
    irr::u32 getStartTime() const { return startTime; }

    // The trail of smoke a hit jet pulls behind it, on the node; null when
    // the engine gives no particle system. The raid's aircraft burn alike.
    static irr::scene::IParticleSystemSceneNode* addSmokeTrail(irr::scene::ISceneManager* sceneManager,
                                                               irr::scene::ISceneNode* node);

private:

    irr::scene::IMeshSceneNode* node;          // belongs to the scene graph; null without a mesh
    irr::scene::ISceneNodeAnimator* animator;  // our own reference to the fly-straight animator
    bool alive;                                // true until the first hit
    torvel::AudioSource* sound;                // fly-by source, kept by the sound manager; may be null
    irr::u32 flightTime;                       // ms for the whole path
    irr::u32 startTime;                        // game time at the start of the flight
    irr::core::line3df path;                   // start and end of the flight
    irr::u32 lastUpdate;                       // game time of the latest update
    std::unique_ptr<EngineSound> engine;       // the engines' loop, stopped with the jet
};
