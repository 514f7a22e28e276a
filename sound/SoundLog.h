#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace torvel {

// The sound layer's log: a small HTML page, one list item per event. The page
// is rewritten whole (through a temporary file and a rename) after every
// event, so whoever opens it finds a complete, valid page at any moment, even
// if the game is killed. Nothing is ever printed on standard output; if the
// page cannot be written, one line says so on standard error.
class SoundLog {
public:
    explicit SoundLog(std::string path);

    void write(const std::string& message);

    const std::vector<std::string>& getLines() const { return lines; }

    // Text made safe to stand inside HTML element content.
    static std::string escape(const std::string& text);

    // Bounds the page and the memory it takes however long the game runs.
    static constexpr std::size_t maxLines = 500;

private:
    void rewrite();

    std::string path;                                 // where the page is written
    std::vector<std::string> lines;                   // list items already escaped and time stamped
    std::chrono::steady_clock::time_point startTime;  // events are stamped relative to this
    std::size_t droppedLines = 0;                     // events not kept after maxLines was reached
    bool failureReported = false;                     // whether standard error has been told the page cannot be written
};

} // namespace torvel
