// Preloaded into the unchanged game to see when its first frame is done.
// It stands in front of glXSwapBuffers: after the first real swap it writes
// two CLOCK_MONOTONIC times in nanoseconds to the file named by
// TORVEL_FIRST_FRAME_FILE, the time this library was set up (all libraries
// loaded, just before main) and the time the first frame had been swapped.
// The launcher, which read the same clock just before it started the game,
// turns them into durations.

#include <GL/glx.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

long long monotonicNow()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

long long loadedAt = 0;
bool reported = false;

__attribute__((constructor)) void noteLoaded()
{
    loadedAt = monotonicNow();
}

void report(long long swappedAt)
{
    const char* path = std::getenv("TORVEL_FIRST_FRAME_FILE");
    if (!path)
        return;
    char text[64];
    const int length = std::snprintf(text, sizeof text, "%lld %lld\n", loadedAt, swappedAt);
    const int file = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (file < 0)
        return;
    // One write of the whole line: the launcher waits for its end of line.
    if (write(file, text, static_cast<size_t>(length)) != length)
        std::fprintf(stderr, "first frame probe: could not write %s\n", path);
    close(file);
}

} // namespace

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable)
{
    using SwapFunction = void (*)(Display*, GLXDrawable);
    static SwapFunction realSwap = reinterpret_cast<SwapFunction>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    if (realSwap)
        realSwap(display, drawable);
    if (!reported) {
        reported = true;
        report(monotonicNow());
    }
}
