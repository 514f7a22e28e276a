// The speed benchmark: times the start of the real game binary and the
// frames of the real game classes, and prints the figures as tables. Run it
// from anywhere; it finds the game and ../res beside itself.
//
//   torvel-bench [--frames N] [--steady N] [--still S] [--startup-runs N] [--startup-against DIR]
//                [--cold] [--startup-pause S] [--shots DIR] [--without LIST] [--raid NUMBER] [--aircraft N]
//   torvel-bench --capture DIR [--step MS] [--repeat N] [--without LIST]

#include "FrameBench.h"
#include "KeptHeap.h"
#include "StartupBench.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <string>

namespace {

bool readCount(const char* text, unsigned& count)
{
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (end == text || *end != '\0' || value > 1000000)
        return false;
    count = static_cast<unsigned>(value);
    return true;
}

// A comma-separated list of the parts the game's frames should leave out.
bool readParts(const std::string& list, FrameBench::Settings& settings)
{
    std::size_t begin = 0;
    while (begin <= list.size()) {
        const std::size_t end = std::min(list.find(',', begin), list.size());
        const std::string part = list.substr(begin, end - begin);
        if (part == "turret")
            settings.withoutTurret = true;
        else if (part == "jets")
            settings.withoutJets = true;
        else if (part == "smoke")
            settings.withoutSmoke = true;
        else if (part == "hud")
            settings.withoutHud = true;
        else if (part == "radar")
            settings.withoutRadar = true;
        else
            return false;
        begin = end + 1;
    }
    return true;
}

std::string ownDirectory()
{
    char path[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    std::string self(path, static_cast<std::size_t>(length));
    return self.substr(0, self.find_last_of('/'));
}

int usage()
{
    std::cerr << "usage: torvel-bench [--frames N] [--steady N] [--still S] [--startup-runs N]\n"
                 "                    [--startup-against DIR] [--cold] [--startup-pause S]\n"
                 "                    [--shots DIR] [--without LIST]\n"
                 "                    [--raid NUMBER] [--aircraft N]\n"
                 "       torvel-bench --capture DIR [--step MS] [--repeat N] [--without LIST]\n"
                 "  --frames N        frames measured at most, within 10 s (default 2000; 0 skips them)\n"
                 "  --steady N        game frames back to back after those, for the spread of\n"
                 "                    their times (default 2000)\n"
                 "  --still S         seconds of the game at rest, its loop paced and not, for\n"
                 "                    its CPU time (default 4 each)\n"
                 "  --startup-runs N  starts of the game to time (default 5; 0 skips them)\n"
                 "  --startup-against DIR\n"
                 "                    also start the game of another build, in DIR (its bin/), in\n"
                 "                    turn with this one's, and give the ratio of their start-ups\n"
                 "  --cold            start the games with Mesa's shader cache off, as on a\n"
                 "                    machine that never ran them\n"
                 "  --startup-pause S wait S seconds before every start, as on a machine that sat\n"
                 "                    idle (memory left free goes back to the virtual machine's host)\n"
                 "  --shots DIR       write bench-game.png and bench-bare.png there\n"
                 "  --capture DIR     instead of measuring, draw the game and the bare world on a\n"
                 "                    stopped clock and write capture-game.png and capture-bare.png\n"
                 "                    there: the same pixels from every run of the same build\n"
                 "  --step MS         the clock's step between captured frames (default 16); longer\n"
                 "                    steps reach the still in fewer frames, the smoke in larger puffs\n"
                 "  --repeat N        before the capture, draw each still N times more, ten of\n"
                 "                    one then ten of the other, and give their times: the game's\n"
                 "                    in replayGameStill, the bare world's in replayBareStill, for\n"
                 "                    callgrind with LP_NUM_THREADS=0 to count their work\n"
                 "  --raid NUMBER     the game's frames in that air raid, about the moment its\n"
                 "                    rules have the most aircraft and bombs in the air, left\n"
                 "                    alone but for the bursts\n"
                 "  --aircraft N      smoking jets in view, a multiple of five (default 5): each five\n"
                 "                    a round started while the jets before it still fly; with more\n"
                 "                    than five, frames with only the first five shown take turns\n"
                 "                    with the others, for the ratio of their times\n"
                 "  --without LIST    leave parts out of the game's frames to see their cost:\n"
                 "                    any of turret, jets, smoke, hud, radar, separated by commas\n";
    return 2;
}

int runBenchmarks(const std::string& binDir, const FrameBench::Settings& settings, unsigned startupRuns,
                  const std::string& againstDir, bool coldShaderCache, unsigned pauseSeconds)
{
    if (!settings.captureDir.empty()) {
        FrameBench stills(settings);
        if (!stills.run())
            return 1;
        for (const std::string& file : stills.getCaptures())
            std::cout << "Wrote " << file << "\n";
        if (settings.stillRepeats > 0) {
            std::cout << std::fixed << std::setprecision(3);
            for (bool game : {true, false})
                std::cout << settings.stillRepeats << (game ? " game" : " bare-world") << " stills again: "
                          << stills.getReplayWall(game) << " s, " << stills.getReplayCpu(game) << " s of CPU\n";
            std::cout << "game / bare world: " << stills.getReplayWall(true) / stills.getReplayWall(false)
                      << " in time, " << stills.getReplayCpu(true) / stills.getReplayCpu(false) << " in CPU\n";
        }
        return 0;
    }

    // The starts first, while no window of ours is open.
    StartupBench startup(binDir, startupRuns, againstDir);
    startup.setColdShaderCache(coldShaderCache);
    startup.setPauseBeforeEach(pauseSeconds);
    if (startupRuns > 0 && !startup.run())
        return 1;

    if (settings.frames > 0) {
        FrameBench frames(settings);
        if (!frames.run())
            return 1;
        frames.report(std::cout);
        std::cout << "\n";
    }
    if (startupRuns > 0)
        startup.report(std::cout);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // The game's own memory, for its frames measured here.
    KeptHeap::prepare();
    FrameBench::Settings settings;
    unsigned startupRuns = 5;
    std::string againstDir;
    bool coldShaderCache = false;
    unsigned pauseSeconds = 0;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--frames") == 0 && hasValue) {
            if (!readCount(argv[++i], settings.frames))
                return usage();
        } else if (std::strcmp(argv[i], "--startup-runs") == 0 && hasValue) {
            if (!readCount(argv[++i], startupRuns))
                return usage();
        } else if (std::strcmp(argv[i], "--steady") == 0 && hasValue) {
            if (!readCount(argv[++i], settings.steadyFrames))
                return usage();
        } else if (std::strcmp(argv[i], "--still") == 0 && hasValue) {
            if (!readCount(argv[++i], settings.stillSeconds))
                return usage();
        } else if (std::strcmp(argv[i], "--startup-pause") == 0 && hasValue) {
            if (!readCount(argv[++i], pauseSeconds) || pauseSeconds > 60)
                return usage();
        } else if (std::strcmp(argv[i], "--cold") == 0) {
            coldShaderCache = true;
        } else if (std::strcmp(argv[i], "--startup-against") == 0 && hasValue) {
            againstDir = argv[++i];
        } else if (std::strcmp(argv[i], "--shots") == 0 && hasValue) {
            settings.shotDir = argv[++i];
        } else if (std::strcmp(argv[i], "--capture") == 0 && hasValue) {
            settings.captureDir = argv[++i];
        } else if (std::strcmp(argv[i], "--step") == 0 && hasValue) {
            if (!readCount(argv[++i], settings.captureStepMs) || settings.captureStepMs == 0)
                return usage();
        } else if (std::strcmp(argv[i], "--repeat") == 0 && hasValue) {
            if (!readCount(argv[++i], settings.stillRepeats))
                return usage();
        } else if (std::strcmp(argv[i], "--raid") == 0 && hasValue) {
            if (!readCount(argv[++i], settings.raidNumber) || settings.raidNumber == 0)
                return usage();
        } else if (std::strcmp(argv[i], "--aircraft") == 0 && hasValue) {
            if (!readCount(argv[++i], settings.aircraft) || settings.aircraft == 0 || settings.aircraft % 5 != 0
                || settings.aircraft > 50)
                return usage();
        } else if (std::strcmp(argv[i], "--without") == 0 && hasValue) {
            if (!readParts(argv[++i], settings))
                return usage();
        } else {
            return usage();
        }
    }
    // The game asks for vsync. Mesa's software renderer refuses it anyway;
    // on other drivers these switches keep the frames from being held to
    // the display's rate, which would hide the time they really take.
    setenv("vblank_mode", "0", 0);
    setenv("__GL_SYNC_TO_VBLANK", "0", 0);

    // Held open for the whole run: an X server whose last client leaves
    // resets itself and refuses connections for a moment, which would fail
    // the next window, the game's or ours, at random.
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::cerr << "torvel-bench needs an X display and cannot reach one (DISPLAY is \""
                  << (std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "") << "\"); bench.sh starts one."
                  << std::endl;
        return 1;
    }

    // The game reads ../res relative to where it runs: run beside it.
    const std::string binDir = ownDirectory();
    if (chdir(binDir.c_str()) != 0) {
        std::cerr << "Cannot change to " << binDir << "." << std::endl;
        return 1;
    }
    // The round the benchmark plays ends in the game's table of best rounds:
    // a folder of its own, never the player's.
    char dataHome[] = "/tmp/torvel-bench-XXXXXX";
    if (mkdtemp(dataHome) == nullptr) {
        std::cerr << "Cannot make a folder for the benchmark's scores." << std::endl;
        return 1;
    }
    setenv("XDG_DATA_HOME", dataHome, 1);
    const int status = runBenchmarks(binDir, settings, startupRuns, againstDir, coldShaderCache, pauseSeconds);
    std::error_code ignored;
    std::filesystem::remove_all(dataHome, ignored);
    XCloseDisplay(display);
    return status;
}
