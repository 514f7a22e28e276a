#pragma once

#include <irrTypes.h>

#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "SampleStats.h"

class TorvelApp;
class TrafficPlan;

// Times the game's frames on the real OpenGL device: the real application,
// fire unit and airspace, with five smoking jets in view (or more, a round
// of five started after another) and bursts fired one after another, an
// empty magazine replaced at once, and, in frames between them, the bare
// world (sky box, terrain, fog, light) seen from the same aim; with more
// than five jets, also the game with only the first five of them shown.
// Game frames are the game's own frame function, timed between its phases;
// nothing throttles them.
class FrameBench {
public:
    enum Step {
        EVENTS,             // the device's run step and the stick's event
        AIRSPACE_UPDATE,
        BEGIN_SCENE,
        DRAW_ALL,
        DRAW_HUD,
        FIRE_UNIT_UPDATE,
        OVERLAYS,           // between rounds, the pause notice, screenshots
        END_SCENE,          // swap, then glFinish
        OWN_STEPS,          // the update + drawHud + FireUnit::update + the overlays
        WHOLE_FRAME,
        STEP_COUNT
    };
    // How a frame is timed: with glFinish only after endScene, so the
    // renderer's threads overlap the frame as in the game, or also after
    // every drawing step, so that a step's time holds its rendering.
    enum Sync { SYNC_AT_END, SYNC_EACH_STEP, SYNC_COUNT };

    struct Settings {
        irr::u32 frames = 2000;         // measured frames at most, a quarter of each kind
        irr::u32 steadyFrames = 2000;   // game frames drawn back to back after them, for their spread
        irr::u32 stillSeconds = 4;      // seconds of the game at rest, paced and not, for its CPU time
        irr::u32 warmupMs = 2000;       // frames drawn but not counted before the measurement
        irr::u32 measureMs = 10000;     // the measurement ends after this; the jets stay in view that long
        irr::u32 headStartMs = 7000;    // ms of flight the jets already have behind them at launch
        std::string shotDir;            // where to write a picture of each kind of frame; empty for none
        // Where to write a still of each kind of frame, drawn on a stopped
        // clock stepped 16 ms a frame, with no bursts: the same pixels from
        // every run of the same build. Set, it replaces the measurement.
        std::string captureDir;
        // With captureDir: draw each kind of still this many times more, in
        // replayGameStill and replayBareStill, so that a profiler can tell
        // the two kinds of frame apart (the CPU work of a frame, rendering
        // included when llvmpipe runs with LP_NUM_THREADS=0).
        irr::u32 stillRepeats = 0;
        // With captureDir: the clock's step from frame to frame. Longer steps
        // reach the still in fewer frames (for a profiler), with the smoke
        // let out in fewer, larger puffs.
        irr::u32 captureStepMs = 16;
        // Parts left out of the game's frames, to see what each costs.
        bool withoutTurret = false;     // guns and muzzle flashes
        bool withoutJets = false;       // the jets, and with them their smoke
        bool withoutSmoke = false;      // the smoke trails only
        bool withoutHud = false;        // drawHud and drawRadar are not called
        bool withoutRadar = false;      // drawRadar alone is not called
        // Smoking jets in view, five a round; more than five adds frames with
        // only the first five shown, in turn with the others.
        irr::u32 aircraft = 5;
        // A raid of this number in place of the round, measured about the
        // moment its rules have the most aircraft and bombs in the air; 0
        // for the round.
        irr::u32 raidNumber = 0;
    };

    explicit FrameBench(const Settings& settings);
    ~FrameBench();

    // Sets up the game and measures its frames and the bare world's. False,
    // with a message on standard error, when the game could not be set up.
    bool run();
    // After run() with a capture directory: the files written.
    const std::vector<std::string>& getCaptures() const { return captures; }
    // After run() with repeats: seconds, wall and CPU of every thread, that
    // the replays of the game's still (true) or the bare world's took.
    double getReplayWall(bool game) const { return replayWall[game]; }
    double getReplayCpu(bool game) const { return replayCpu[game]; }
    void report(std::ostream& out) const;

    static const char* stepName(Step step);

    const SampleStats& getTimes(bool game, Sync sync, Step step) const
    { return game ? gameTimes[sync][step] : bareTimes[sync][step]; }
    irr::u32 getSmokingJets() const { return smokingJets; }
    // With more than five jets: the game's frames with only five of them shown.
    const SampleStats& getFiveJetTimes(Sync sync, Step step) const { return fiveJetTimes[sync][step]; }
    // Whole game frames (ms) drawn back to back.
    const SampleStats& getSteadyTimes() const { return steadyTimes; }
    // The game at rest, looped as the game loops (paced where vsync is
    // refused) or as fast as it can: frames and CPU seconds per second.
    double getStillFramesPerSecond(bool paced) const;
    double getStillCpuPerSecond(bool paced) const;
    // Jets on screen per measured game frame, on average.
    double getJetsInViewPerFrame() const;
    // Share of the measured game frames that fired a round, 0 to 1.
    double getFiringShare() const;

private:
    FrameBench(const FrameBench&) = delete;
    FrameBench& operator=(const FrameBench&) = delete;

    bool startGame();
    bool launchTraffic(const TrafficPlan& plan);
    // Starts the raid as far back as puts its busiest moment in the middle
    // of the measurement, and aims the turret at what flies then.
    void launchRaid();
    void aimTurret(const TrafficPlan& plan);
    void measure();
    void measureSteady();
    void measureStillView();
    bool captureStills();
    void replayGameStill(irr::u32 count);
    void replayBareStill(irr::u32 count);
    void showGameObjects(bool shown);
    // One frame of the game or the bare world; its whole time in ms.
    double frame(bool game, Sync sync, SampleStats* stats, const std::string& shotFile);
    void postStick();
    bool writeBackBuffer(const std::string& file);
    irr::u32 countJetsInView() const;

    Settings settings;
    TorvelApp* app;                                        // the real game, owned
    SampleStats gameTimes[SYNC_COUNT][STEP_COUNT];         // ms per frame with jets, turret and HUD
    SampleStats bareTimes[SYNC_COUNT][STEP_COUNT];         // ms per frame of the world alone
    SampleStats fiveJetTimes[SYNC_COUNT][STEP_COUNT];      // ms per game frame with only the first five jets shown
    irr::u32 jetsShown;                                    // jets drawn in game frames, the first of them in flight
    std::vector<std::pair<std::string, double>> startSteps; // ms per step of the start, in order
    std::vector<std::pair<std::string, double>> hitches;    // ms of the first spawn and the first smoke, and their frames
    double measuredSeconds;                                // wall time of the measured frames
    irr::u32 stickFrames;                                  // stick events posted so far
    irr::u32 raidBusiest = 0;                              // aircraft and bombs in the air at the raid's busiest
    irr::u32 clockOverride;                                // the game's time while the round is set up; 0 for none
    irr::u32 firingFrames;                                 // measured game frames that fired a round
    irr::u32 jetsInView;                                   // jets whose centre is on screen, summed over measured game frames
    irr::u32 smokingJets;                                  // jets trailing smoke when the measurement began
    std::vector<irr::s32> startValues;                     // the randomizer's fixed start value for each round's traffic
    std::string renderer;                                  // the OpenGL renderer's name
    irr::u32 screenWidth;                                  // size of the frames drawn
    irr::u32 screenHeight;
    SampleStats steadyTimes;                               // ms per game frame, back to back
    double stillWall[2];                                   // s of the game at rest, unpaced [0] and paced [1]
    double stillCpu[2];                                    // CPU s of the process over them
    irr::u32 stillFrames[2];                               // passes of the loop in them
    irr::u32 stillSkipped;                                 // passes of the paced loop that drew nothing
    bool firing;                                           // the stick pulls the trigger now and then: from the launch of the jets on
    std::vector<std::string> captures;                     // stills written by captureStills
    bool shotWritten = false;                              // the last frame asked to be kept was written
    irr::u32 launchTime;                                   // the engine's scene time when the jets were under way
    irr::u32 launchRealTime;                               // the real time the airspace was given then
    double replayWall[2];                                  // s the replays of bare [0] and game [1] stills took
    double replayCpu[2];                                   // CPU s of the process over them
};
