#include "FakeJoystick.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

FakeJoystick::FakeJoystick(const std::string& scriptPath)
    : scriptPath(scriptPath)
{
    // joydev first reports the state at open, marked as initial.
    for (std::uint8_t i = 0; i < buttonCount; ++i)
        queue(JS_EVENT_BUTTON | JS_EVENT_INIT, i, 0, 0);
    for (std::uint8_t i = 0; i < axisCount; ++i)
        queue(JS_EVENT_AXIS | JS_EVENT_INIT, i, 0, 0);
    if (!std::ifstream(scriptPath))
        std::fprintf(stderr, "fake joystick: cannot read the script %s; the stick stays centred\n", scriptPath.c_str());
}

ssize_t FakeJoystick::read(void* buffer, std::size_t size, std::uint32_t nowMs)
{
    followScript(nowMs);
    if (vanished) {
        errno = ENODEV;
        return -1;
    }
    if (size < sizeof(js_event)) {
        errno = EINVAL;
        return -1;
    }
    if (pending.empty()) {
        errno = EAGAIN;
        return -1;
    }
    std::size_t copied = 0;
    while (!pending.empty() && size - copied >= sizeof(js_event)) {
        std::memcpy(static_cast<char*>(buffer) + copied, &pending.front(), sizeof(js_event));
        pending.pop_front();
        copied += sizeof(js_event);
    }
    return static_cast<ssize_t>(copied);
}

bool FakeJoystick::runLine(const std::string& line, std::uint32_t nowMs)
{
    ++lineNumber;
    std::istringstream words(line);
    std::string command;
    if (!(words >> command) || command[0] == '#')
        return true;
    long number = -1;
    long value = 0;
    std::string rest;
    bool ok = false;
    if (command == "axis") {
        ok = words >> number >> value && !(words >> rest) && number >= 0 && number < axisCount &&
             value >= -32767 && value <= 32767;
        if (ok)
            queue(JS_EVENT_AXIS, static_cast<std::uint8_t>(number), static_cast<std::int16_t>(value), nowMs);
    } else if (command == "button") {
        ok = words >> number >> value && !(words >> rest) && number >= 0 && number < buttonCount &&
             (value == 0 || value == 1);
        if (ok)
            queue(JS_EVENT_BUTTON, static_cast<std::uint8_t>(number), static_cast<std::int16_t>(value), nowMs);
    } else if (command == "wait") {
        ok = words >> value && !(words >> rest) && value >= 0;
        if (ok) {
            waiting = true;
            resumeAt = nowMs + static_cast<std::uint32_t>(value);
        }
    } else if (command == "vanish") {
        ok = !(words >> rest);
        vanished = vanished || ok;
    }
    if (!ok)
        std::fprintf(stderr, "fake joystick: %s:%d: cannot use '%s'\n", scriptPath.c_str(), lineNumber, line.c_str());
    return ok;
}

void FakeJoystick::followScript(std::uint32_t nowMs)
{
    std::ifstream script(scriptPath, std::ios::binary);
    if (script && script.seekg(static_cast<std::streamoff>(offset))) {
        std::string added{std::istreambuf_iterator<char>(script), std::istreambuf_iterator<char>()};
        offset += added.size();
        partial += added;
        std::size_t end;
        while ((end = partial.find('\n')) != std::string::npos) {
            held.push_back(partial.substr(0, end));
            partial.erase(0, end + 1);
        }
    }
    while (!held.empty()) {
        if (waiting) {
            if (static_cast<std::int32_t>(nowMs - resumeAt) < 0)
                return;
            waiting = false;
        }
        const std::string line = held.front();
        held.pop_front();
        runLine(line, nowMs);
    }
}

void FakeJoystick::queue(std::uint8_t type, std::uint8_t number, std::int16_t value, std::uint32_t nowMs)
{
    js_event event{};
    event.time = nowMs;
    event.value = value;
    event.type = type;
    event.number = number;
    pending.push_back(event);
}
