#pragma once

#include <linux/joystick.h>

#include <cstdint>
#include <deque>
#include <string>
#include <sys/types.h>

// A scripted stick that answers as the Linux joystick device (joydev) does:
// events for the initial state, then one js_event per change, read whole,
// without blocking (the engine opens the device so). The script is a text file followed as it
// grows, so a test can move the stick while the game runs. One command a line:
//   axis N VALUE    axis N moves to VALUE (-32767 to 32767)
//   button N 0|1    button N is released or pressed
//   wait MS         the lines after it wait MS milliseconds more
//   vanish          the device is unplugged: every later read fails with ENODEV
// Blank lines and lines starting with # are skipped.
class FakeJoystick {
public:
    static constexpr std::uint8_t axisCount = 2;
    static constexpr std::uint8_t buttonCount = 3;
    static const char* name() { return "Torvel Test Stick"; }

    explicit FakeJoystick(const std::string& scriptPath);

    // What a non-blocking read(2) on the device answers at monotonic time nowMs: the byte
    // count of the whole events copied, or -1 with errno set (EAGAIN for
    // none yet, EINVAL for a buffer too small for one, ENODEV once vanished).
    ssize_t read(void* buffer, std::size_t size, std::uint32_t nowMs);

    bool hasVanished() const { return vanished; }

private:
    // Runs one script line, as if it were reached at nowMs; false (and a
    // message on standard error) for a line it does not understand.
    bool runLine(const std::string& line, std::uint32_t nowMs);
    // Takes complete lines added to the script since the last look, running
    // them in order until a wait holds the rest back.
    void followScript(std::uint32_t nowMs);
    void queue(std::uint8_t type, std::uint8_t number, std::int16_t value, std::uint32_t nowMs);

    std::string scriptPath;         // the script file, read from offset on
    std::uint64_t offset = 0;       // bytes of the script taken so far
    std::string partial;            // a last line without its end of line yet
    std::deque<std::string> held;   // lines waiting for the current wait to pass
    std::uint32_t resumeAt = 0;     // when held lines may run
    bool waiting = false;           // whether a wait is running
    std::deque<js_event> pending;   // events not yet read
    bool vanished = false;          // unplugged: reads fail from now on
    int lineNumber = 0;             // of the script, for messages
};
