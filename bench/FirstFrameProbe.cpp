// Preloaded into the unchanged game to see when its first frame is done, and
// where the time until then went. It stands in front of glXSwapBuffers:
// after the first real swap it writes, in one go, to the file named by
// TORVEL_FIRST_FRAME_FILE, first a line of two CLOCK_MONOTONIC times in
// nanoseconds, the time this library was set up (all libraries loaded, just
// before main) and the time the first frame had been swapped; then a line
// for each mark of the start, its time and what began then: the window made
// (XCreateWindow returned), the OpenGL context made current, each resource
// file opened, the first frame begun (the last glClear before the swap).
// The launcher, which read the same clock just before it started the game,
// turns them into durations. The game itself is not changed.

#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

long long monotonicNow()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

struct Mark {
    long long at;    // ns
    char what[48];   // what began then
};

const int MARKS = 64;
Mark marks[MARKS];
int markCount = 0;
long long loadedAt = 0;
long long clearedAt = 0;
bool reported = false;

void mark(const char* what, long long at)
{
    if (reported || markCount == MARKS)
        return;
    marks[markCount].at = at;
    std::snprintf(marks[markCount].what, sizeof marks[markCount].what, "%s", what);
    ++markCount;
}

// A file of the game's resources: its name, without the folder.
void markResource(const char* path)
{
    if (path == nullptr || reported)
        return;
    const char* res = std::strstr(path, "res/");
    if (res == nullptr)
        return;
    mark(res + 4, monotonicNow());
}

template <typename Function>
Function real(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

__attribute__((constructor)) void noteLoaded()
{
    loadedAt = monotonicNow();
}

void report(long long swappedAt)
{
    const char* path = std::getenv("TORVEL_FIRST_FRAME_FILE");
    if (!path)
        return;
    static char text[MARKS * 80 + 64];
    int length = std::snprintf(text, sizeof text, "%lld %lld\n", loadedAt, swappedAt);
    for (int i = 0; i < markCount; ++i)
        length += std::snprintf(text + length, sizeof text - length, "%lld %s\n", marks[i].at, marks[i].what);
    if (clearedAt != 0)
        length += std::snprintf(text + length, sizeof text - length, "%lld first frame\n", clearedAt);
    using OpenFunction = int (*)(const char*, int, ...);
    static OpenFunction realOpen = real<OpenFunction>("open");
    const int file = realOpen(path, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (file < 0)
        return;
    // One write of the whole text: the launcher waits for its first end of line.
    if (write(file, text, static_cast<size_t>(length)) != length)
        std::fprintf(stderr, "first frame probe: could not write %s\n", path);
    close(file);
}

} // namespace

extern "C" {

void glXSwapBuffers(Display* display, GLXDrawable drawable)
{
    using SwapFunction = void (*)(Display*, GLXDrawable);
    static SwapFunction realSwap = real<SwapFunction>("glXSwapBuffers");
    if (realSwap)
        realSwap(display, drawable);
    if (!reported) {
        report(monotonicNow());
        reported = true;
    }
}

void glClear(GLbitfield mask)
{
    using ClearFunction = void (*)(GLbitfield);
    static ClearFunction realClear = real<ClearFunction>("glClear");
    if (!reported)
        clearedAt = monotonicNow();
    realClear(mask);
}

Window XCreateWindow(Display* display, Window parent, int x, int y, unsigned width, unsigned height,
                     unsigned border, int depth, unsigned windowClass, Visual* visual, unsigned long mask,
                     XSetWindowAttributes* attributes)
{
    using CreateFunction = Window (*)(Display*, Window, int, int, unsigned, unsigned, unsigned, int, unsigned,
                                      Visual*, unsigned long, XSetWindowAttributes*);
    static CreateFunction realCreate = real<CreateFunction>("XCreateWindow");
    const Window window = realCreate(display, parent, x, y, width, height, border, depth, windowClass, visual,
                                     mask, attributes);
    mark("window made", monotonicNow());
    return window;
}

Bool glXMakeCurrent(Display* display, GLXDrawable drawable, GLXContext context)
{
    using MakeFunction = Bool (*)(Display*, GLXDrawable, GLXContext);
    static MakeFunction realMake = real<MakeFunction>("glXMakeCurrent");
    const Bool made = realMake(display, drawable, context);
    mark("OpenGL context current", monotonicNow());
    return made;
}

Bool glXMakeContextCurrent(Display* display, GLXDrawable draw, GLXDrawable read, GLXContext context)
{
    using MakeFunction = Bool (*)(Display*, GLXDrawable, GLXDrawable, GLXContext);
    static MakeFunction realMake = real<MakeFunction>("glXMakeContextCurrent");
    const Bool made = realMake(display, draw, read, context);
    mark("OpenGL context current", monotonicNow());
    return made;
}

FILE* fopen(const char* path, const char* mode)
{
    using OpenFunction = FILE* (*)(const char*, const char*);
    static OpenFunction realOpen = real<OpenFunction>("fopen");
    markResource(path);
    return realOpen(path, mode);
}

FILE* fopen64(const char* path, const char* mode)
{
    using OpenFunction = FILE* (*)(const char*, const char*);
    static OpenFunction realOpen = real<OpenFunction>("fopen64");
    markResource(path);
    return realOpen(path, mode);
}

int open(const char* path, int flags, ...)
{
    using OpenFunction = int (*)(const char*, int, ...);
    static OpenFunction realOpen = real<OpenFunction>("open");
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list arguments;
        va_start(arguments, flags);
        mode = static_cast<mode_t>(va_arg(arguments, int));
        va_end(arguments);
    }
    markResource(path);
    return realOpen(path, flags, mode);
}

int open64(const char* path, int flags, ...)
{
    using OpenFunction = int (*)(const char*, int, ...);
    static OpenFunction realOpen = real<OpenFunction>("open64");
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list arguments;
        va_start(arguments, flags);
        mode = static_cast<mode_t>(va_arg(arguments, int));
        va_end(arguments);
    }
    markResource(path);
    return realOpen(path, flags, mode);
}

} // extern "C"
