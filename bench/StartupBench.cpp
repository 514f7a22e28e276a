#include "StartupBench.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <thread>

namespace {

const char* const PROBE_LIBRARY = "libtorvel_first_frame_probe.so";
// Longer than any start we would accept; a game that shows nothing by then has failed.
const int GIVE_UP_SECONDS = 60;
// Tries, 50 ms apart, to connect to a display that may be resetting.
const int DISPLAY_ATTEMPTS = 60;

long long monotonicNow()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

} // namespace

StartupBench::StartupBench(const std::string& directory, irr::u32 count, const std::string& otherDirectory)
    : binDir(directory), againstDir(otherDirectory), runs(count), coldShaderCache(false), pauseSeconds(0)
{
}

void StartupBench::addPhases(std::istream& note, long long startedAt, long long loadedAt, long long swappedAt,
                             Runs& into)
{
    // Each mark begins a phase that lasts until the next one, the last until the swap.
    std::vector<std::pair<std::string, long long>> bounds{{"libraries (exec to main)", startedAt},
                                                          {"main to the window", loadedAt}};
    std::string line;
    while (std::getline(note, line)) {
        std::istringstream fields(line);
        long long at = 0;
        std::string what;
        if (!(fields >> at) || !std::getline(fields >> std::ws, what) || what.empty())
            continue;
        if (what == "window made")
            what = "OpenGL context";
        else if (what == "OpenGL context current")
            what = "driver set-up, before the first file";
        if (what != bounds.back().first)
            bounds.emplace_back(what, at);
    }
    std::vector<std::pair<std::string, double>> run;
    for (std::size_t i = 0; i < bounds.size(); ++i) {
        const long long end = i + 1 < bounds.size() ? bounds[i + 1].second : swappedAt;
        const double ms = static_cast<double>(end - bounds[i].second) / 1e6;
        auto same = std::find_if(run.begin(), run.end(), [&](const auto& p) { return p.first == bounds[i].first; });
        if (same == run.end())
            run.emplace_back(bounds[i].first, ms);
        else
            same->second += ms;
    }
    for (const auto& phase : run) {
        auto known = std::find_if(into.phases.begin(), into.phases.end(),
                                  [&](const auto& p) { return p.first == phase.first; });
        if (known == into.phases.end()) {
            into.phases.emplace_back(phase.first, SampleStats());
            known = into.phases.end() - 1;
        }
        known->second.add(phase.second);
    }
}

double StartupBench::getRatio() const
{
    const double theirs = against.firstFrame.median();
    return theirs > 0.0 ? ours.firstFrame.median() / theirs : 0.0;
}

bool StartupBench::run()
{
    // An X server whose last client has just left resets itself and refuses
    // connections for a moment; a game started then would fail at once. So
    // wait until the display takes us, and stay connected through the runs
    // so that the games' endings cause no reset either.
    Display* display = nullptr;
    for (int attempt = 0; attempt < DISPLAY_ATTEMPTS && !display; ++attempt) {
        display = XOpenDisplay(nullptr);
        if (!display)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!display) {
        std::cerr << "Cannot reach the X display; the game could not show a frame." << std::endl;
        return false;
    }
    const bool measured = measureRuns();
    XCloseDisplay(display);
    return measured;
}

bool StartupBench::measureRuns()
{
    // The builds swap places every run (ABBA). Memory a start touches for the
    // first time costs system time that depends on when the run before it
    // ended: the virtual machine's host takes back memory the guest left free
    // for about two seconds, and the next start faults it in again. In strict
    // turns one build always started at the same point of that cycle.
    for (irr::u32 i = 0; i < runs; ++i) {
        const bool oursFirst = i % 2 == 0 || againstDir.empty();
        if (oursFirst && !measureOnce(binDir, ours))
            return false;
        if (!againstDir.empty() && !measureOnce(againstDir, against))
            return false;
        if (!oursFirst && !measureOnce(binDir, ours))
            return false;
    }
    return true;
}

bool StartupBench::measureOnce(const std::string& gameDir, Runs& into)
{
    char notePath[] = "/tmp/torvel-first-frame-XXXXXX";
    const int note = mkstemp(notePath);
    if (note < 0) {
        std::cerr << "Cannot make a file for the first frame note in /tmp." << std::endl;
        return false;
    }
    close(note);

    std::this_thread::sleep_for(std::chrono::seconds(pauseSeconds));
    const std::string game = gameDir + "/torvel";
    // Our own probe, whichever build's game it is preloaded into.
    const std::string probe = binDir + "/" + PROBE_LIBRARY;
    const long long startedAt = monotonicNow();
    const pid_t child = fork();
    if (child < 0) {
        std::cerr << "Cannot start the game: fork failed." << std::endl;
        unlink(notePath);
        return false;
    }
    if (child == 0) {
        // The game reads ../res from where it runs; its own lines are not ours to show.
        if (chdir(gameDir.c_str()) != 0)
            _exit(127);
        setenv("LD_PRELOAD", probe.c_str(), 1);
        setenv("TORVEL_FIRST_FRAME_FILE", notePath, 1);
        if (coldShaderCache)
            setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        execl(game.c_str(), "torvel", static_cast<char*>(nullptr));
        _exit(127);
    }

    long long loadedAt = 0;
    long long swappedAt = 0;
    std::string marks;
    bool exited = false;
    rusage usage = {};
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(GIVE_UP_SECONDS);
    while (swappedAt == 0 && !exited && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        std::ifstream file(notePath);
        std::string text;
        if (std::getline(file, text) && file.good()) {
            std::istringstream fields(text);
            fields >> loadedAt >> swappedAt;
            // The marks came in the same write.
            std::ostringstream rest;
            rest << file.rdbuf();
            marks = rest.str();
        }
        int status = 0;
        exited = wait4(child, &status, WNOHANG, &usage) == child;
    }
    if (!exited) {
        kill(child, SIGTERM);
        wait4(child, nullptr, 0, &usage);
    }
    unlink(notePath);

    if (swappedAt == 0) {
        std::cerr << "The game showed no frame" << (exited ? " before it ended" : " within a minute")
                  << "; is " << game << " built and a display set?" << std::endl;
        return false;
    }
    const double firstFrameMs = static_cast<double>(swappedAt - startedAt) / 1e6;
    std::istringstream markLines(marks);
    addPhases(markLines, startedAt, loadedAt, swappedAt, into);
    into.loaded.add(static_cast<double>(loadedAt - startedAt) / 1e6);
    into.firstFrame.add(firstFrameMs);
    const auto ms = [](const timeval& time) { return time.tv_sec * 1000.0 + time.tv_usec / 1000.0; };
    into.cpu.add(ms(usage.ru_utime) + ms(usage.ru_stime));
    into.systemCpu.add(ms(usage.ru_stime));
    std::ostringstream figure;
    figure << std::fixed << std::setprecision(0) << firstFrameMs;
    into.list += (into.list.empty() ? "" : ", ") + figure.str();
    return true;
}

void StartupBench::report(std::ostream& out) const
{
    out << "Start-up" << (coldShaderCache ? ", Mesa's shader cache off (cold)" : ", Mesa's shader cache on (warm)")
        << ": fork and exec to the first frame's endScene (swap returned), seen by a\n"
        << "  preloaded probe on glXSwapBuffers; libraries loaded (probe set up, before main) as a part; CPU\n"
        << "  time of all the game's threads until it was ended, a few ms after its first frame.\n";
    if (pauseSeconds > 0)
        out << "  Each start after " << pauseSeconds << " s of nothing, as on a machine that sat idle.\n";
    if (!againstDir.empty())
        out << "  " << runs << " runs of each game, taking turns, which goes first swapped every run.\n";
    reportRuns(out, binDir, ours);
    if (againstDir.empty()) {
        out << "  target <= 1500 ms: " << (ours.firstFrame.median() <= 1500.0 ? "met" : "MISSED") << "\n";
        reportPhases(out);
        return;
    }
    reportRuns(out, againstDir, against);
    out << std::fixed << std::setprecision(2)
        << "  this build / the other, first frame medians: " << getRatio()
        << " <= 0.7: " << (getRatio() <= 0.7 ? "met" : "MISSED") << "\n";
    reportPhases(out);
}

void StartupBench::reportPhases(std::ostream& out) const
{
    // The phases of both builds side by side, each build's own in its order.
    out << "  Start-up by phase (ms, medians; a file's phase lasts until the next mark):\n"
        << "    " << std::left << std::setw(40) << "phase" << std::right << std::setw(9) << "this";
    if (!againstDir.empty())
        out << std::setw(9) << "other" << std::setw(8) << "ratio";
    out << "\n";
    Phases all = ours.phases;
    for (const auto& phase : against.phases)
        if (std::none_of(all.begin(), all.end(), [&](const auto& p) { return p.first == phase.first; }))
            all.emplace_back(phase.first, SampleStats());
    const auto median = [](const Phases& phases, const std::string& name) {
        for (const auto& phase : phases)
            if (phase.first == name)
                return phase.second.median();
        return 0.0;
    };
    for (const auto& phase : all) {
        const double mine = median(ours.phases, phase.first);
        const double theirs = median(against.phases, phase.first);
        out << "    " << std::left << std::setw(40) << phase.first << std::right << std::setprecision(1)
            << std::setw(9) << mine;
        if (!againstDir.empty())
            out << std::setw(9) << theirs;
        if (theirs > 0.0)
            out << std::setprecision(2) << std::setw(8) << mine / theirs;
        out << "\n";
    }
}

void StartupBench::reportRuns(std::ostream& out, const std::string& gameDir, const Runs& starts) const
{
    out << std::fixed << std::setprecision(0) << "  " << gameDir << "/torvel, " << starts.firstFrame.count() << " runs\n"
        << "    to libraries loaded: median " << starts.loaded.median() << " ms\n"
        << "    to first frame:      median " << starts.firstFrame.median() << " ms, slowest "
        << starts.firstFrame.percentile(1.0) << " ms (runs: " << starts.list << " ms)\n"
        << "    CPU time:            median " << starts.cpu.median() << " ms, of it in the kernel "
        << starts.systemCpu.median() << " ms (runs: " << starts.systemCpu.percentile(0.0) << " to "
        << starts.systemCpu.percentile(1.0) << " ms)\n";
}
