#pragma once

#include <irrTypes.h>

#include <iosfwd>
#include <string>

#include "SampleStats.h"

// Measures how long the real game binary takes from its start to its first
// frame on screen. Each run forks, execs the unchanged game with the first
// frame probe preloaded, waits for the probe's note of the first swap and
// then ends the game. The clock is read just before the fork, so the time
// holds the fork, the exec, loading the libraries and everything main does
// before the first endScene has returned.
//
// Given another build's bin directory, it starts that build's game in turn
// with this one's, run for run, so that both see the same load from whatever
// else runs on the machine, and reports the ratio of their medians.
class StartupBench {
public:
    // binDir holds the game ("torvel") and the probe library; the game runs
    // there. againstDir, if not empty, holds the other build's game.
    StartupBench(const std::string& binDir, irr::u32 runs, const std::string& againstDir = std::string());

    // False, with a message on standard error, when a run failed.
    bool run();
    void report(std::ostream& out) const;

    // Milliseconds from the fork to the first frame, one sample per run.
    const SampleStats& getFirstFrame() const { return ours.firstFrame; }
    // Milliseconds from the fork to the libraries being loaded.
    const SampleStats& getLoaded() const { return ours.loaded; }
    // The same for the other build's game; empty without one.
    const SampleStats& getAgainstFirstFrame() const { return against.firstFrame; }
    // This build's median first frame over the other's; 0 without one.
    double getRatio() const;

private:
    struct Runs {
        SampleStats loaded;          // ms from the fork until the probe was set up
        SampleStats firstFrame;      // ms from the fork until the first swap had returned
        SampleStats cpu;             // ms of CPU the game used, all its threads, until it was ended
        std::string list;            // every run's first frame, in order, for the report
    };

    bool measureRuns();
    // One start of the game in gameDir, added to into. False when no first frame came.
    bool measureOnce(const std::string& gameDir, Runs& into);
    void reportRuns(std::ostream& out, const std::string& gameDir, const Runs& runs) const;

    std::string binDir;          // where the game and the probe are
    std::string againstDir;      // where the other build's game is; empty for none
    irr::u32 runs;               // how many starts of each game to time
    Runs ours;                   // this build's starts
    Runs against;                // the other build's starts
};
