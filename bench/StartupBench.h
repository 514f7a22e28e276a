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
class StartupBench {
public:
    // binDir holds the game ("torvel") and the probe library; the game runs there.
    StartupBench(const std::string& binDir, irr::u32 runs);

    // False, with a message on standard error, when a run failed.
    bool run();
    void report(std::ostream& out) const;

    // Milliseconds from the fork to the first frame, one sample per run.
    const SampleStats& getFirstFrame() const { return firstFrame; }
    // Milliseconds from the fork to the libraries being loaded.
    const SampleStats& getLoaded() const { return loaded; }

private:
    bool measureRuns();
    // One start of the game: the milliseconds to the libraries being loaded
    // and to the first frame. False when no first frame came.
    bool measureOnce(double& loadedMs, double& firstFrameMs);

    std::string binDir;          // where the game and the probe are
    irr::u32 runs;               // how many starts to time
    SampleStats loaded;          // ms from the fork until the probe was set up
    SampleStats firstFrame;      // ms from the fork until the first swap had returned
    std::string firstFrameList;  // every run's figure, in order, for the report
};
