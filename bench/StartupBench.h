#pragma once

#include <irrTypes.h>

#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "SampleStats.h"

// Measures how long the real game binary takes from its start to its first
// frame on screen. Each run forks, execs the unchanged game with the first
// frame probe preloaded, waits for the probe's note of the first swap and
// then ends the game. The clock is read just before the fork, so the time
// holds the fork, the exec, loading the libraries and everything main does
// before the first endScene has returned.
//
// Given another build's bin directory, it starts that build's game in turn
// with this one's, run for run and each first in every other pair, so that
// both see the same load from whatever else runs on the machine, and reports
// the ratio of their medians.
class StartupBench {
public:
    // binDir holds the game ("torvel") and the probe library; the game runs
    // there. againstDir, if not empty, holds the other build's game.
    StartupBench(const std::string& binDir, irr::u32 runs, const std::string& againstDir = std::string());

    // The starts with Mesa's shader cache off, as on a machine that never
    // ran the game: every shader is compiled afresh.
    void setColdShaderCache(bool cold) { coldShaderCache = cold; }
    // Seconds of nothing before every start, as on a machine that sat idle:
    // on our virtual machines memory left free for about two seconds goes
    // back to the host, and a start then faults its memory in afresh.
    void setPauseBeforeEach(irr::u32 seconds) { pauseSeconds = seconds; }

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

    // What the start spent its time on, in order: the libraries, the window,
    // the OpenGL context, each resource file from its opening to the next
    // mark, the first frame. Milliseconds, one sample per run.
    using Phases = std::vector<std::pair<std::string, SampleStats>>;
    const Phases& getPhases() const { return ours.phases; }
    const Phases& getAgainstPhases() const { return against.phases; }

private:
    struct Runs {
        SampleStats loaded;          // ms from the fork until the probe was set up
        SampleStats firstFrame;      // ms from the fork until the first swap had returned
        SampleStats cpu;             // ms of CPU the game used, all its threads, until it was ended
        SampleStats systemCpu;       // the part of it spent in the kernel (page faults, mostly)
        std::string list;            // every run's first frame, in order, for the report
        Phases phases;               // ms per phase of the start, in the order first seen
    };

    // The phases of one start from the probe's note, added to into.
    static void addPhases(std::istream& note, long long startedAt, long long loadedAt, long long swappedAt, Runs& into);

    bool measureRuns();
    // One start of the game in gameDir, added to into. False when no first frame came.
    bool measureOnce(const std::string& gameDir, Runs& into);
    void reportRuns(std::ostream& out, const std::string& gameDir, const Runs& runs) const;
    void reportPhases(std::ostream& out) const;

    std::string binDir;          // where the game and the probe are
    std::string againstDir;      // where the other build's game is; empty for none
    irr::u32 runs;               // how many starts of each game to time
    bool coldShaderCache;        // the games start with Mesa's shader cache off
    irr::u32 pauseSeconds;       // idle before every start
    Runs ours;                   // this build's starts
    Runs against;                // the other build's starts
};
