// Preloaded into the game (LD_PRELOAD) to stand in for a joystick: the open
// of /dev/input/js0 gets a FakeJoystick that plays the script named by
// TORVEL_FAKE_JOYSTICK, and its ioctls and reads are answered as the Linux
// joystick driver answers them. The other joystick devices the engine tries
// are reported absent, so a stick attached to the machine plays no part.
// Every other file goes to the C library untouched.

#include "FakeJoystick.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/ioctl.h>

namespace {

const char fakeDevice[] = "/dev/input/js0";

std::atomic<int> fakeFd{-1};   // the descriptor the fake device was given
FakeJoystick* stick = nullptr; // the device behind it; used by the engine's one thread

template <typename Function>
Function real(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

std::uint32_t nowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

// The joystick device names the engine tries: /dev/jsN, /dev/input/jsN, /dev/joyN.
bool isJoystickDevice(const char* path)
{
    for (const char* prefix : {"/dev/js", "/dev/input/js", "/dev/joy"}) {
        const std::size_t length = std::strlen(prefix);
        if (std::strncmp(path, prefix, length) == 0 && path[length] >= '0' && path[length] <= '9')
            return true;
    }
    return false;
}

int openFake(const char* path)
{
    const char* script = std::getenv("TORVEL_FAKE_JOYSTICK");
    if (script == nullptr || std::strcmp(path, fakeDevice) != 0 || fakeFd.load() != -1) {
        errno = ENOENT;
        return -1;
    }
    // A real descriptor, so that nothing else is handed the same number.
    const int fd = real<int (*)(const char*, int, ...)>("open")("/dev/null", O_RDONLY);
    if (fd == -1)
        return -1;
    stick = new FakeJoystick(script);
    fakeFd = fd;
    return fd;
}

} // namespace

extern "C" int open(const char* path, int flags, ...)
{
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list rest;
        va_start(rest, flags);
        mode = va_arg(rest, mode_t);
        va_end(rest);
    }
    if (isJoystickDevice(path))
        return openFake(path);
    return real<int (*)(const char*, int, ...)>("open")(path, flags, mode);
}

extern "C" ssize_t read(int fd, void* buffer, std::size_t size)
{
    if (fd == -1 || fd != fakeFd.load())
        return real<ssize_t (*)(int, void*, std::size_t)>("read")(fd, buffer, size);
    // The engine reads without blocking, so an empty queue answers EAGAIN.
    return stick->read(buffer, size, nowMs());
}

extern "C" int ioctl(int fd, unsigned long request, ...)
{
    va_list rest;
    va_start(rest, request);
    void* argument = va_arg(rest, void*);
    va_end(rest);
    if (fd == -1 || fd != fakeFd.load())
        return real<int (*)(int, unsigned long, ...)>("ioctl")(fd, request, argument);
    if (stick->hasVanished()) {
        errno = ENODEV;
        return -1;
    }
    if (request == JSIOCGAXES) {
        *static_cast<std::uint8_t*>(argument) = FakeJoystick::axisCount;
        return 0;
    }
    if (request == JSIOCGBUTTONS) {
        *static_cast<std::uint8_t*>(argument) = FakeJoystick::buttonCount;
        return 0;
    }
    // JSIOCGNAME(length): the name cut to the buffer, its count of bytes copied.
    const unsigned long withoutSize = ~static_cast<unsigned long>(_IOC_SIZEMASK << _IOC_SIZESHIFT);
    if ((request & withoutSize) == (JSIOCGNAME(0) & withoutSize)) {
        const std::size_t room = _IOC_SIZE(request);
        const std::size_t length = std::min(room, std::strlen(FakeJoystick::name()) + 1);
        std::memcpy(argument, FakeJoystick::name(), length);
        return static_cast<int>(length);
    }
    errno = ENOTTY;
    return -1;
}

extern "C" int close(int fd)
{
    if (fd != -1 && fd == fakeFd.load()) {
        fakeFd = -1;
        delete stick;
        stick = nullptr;
    }
    return real<int (*)(int)>("close")(fd);
}
