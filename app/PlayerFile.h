#pragma once

#include <cstdint>
#include <cstddef>
#include <string>

// One file the player keeps (the best rounds, the settings), kept safe.
//
// Written atomically: the new text goes to NAME.tmp.<process id> beside the
// file, is flushed to disk and renamed over it, and the folder is flushed, so
// a crash or a power cut at any moment leaves either the old file or the new
// one. Read defensively: only a regular file, never more than its size limit,
// never blocking on a FIFO. A file its owner finds damaged is renamed aside to
// NAME.bad (NAME.bad.1 and on when that is taken) and named in one line on
// standard error; when even that fails it stays where it is and is never
// written over.
class PlayerFile {
public:
    enum class ReadResult { Missing, Read, Bad };

    // How the messages about this file speak of it.
    struct Wording {
        const char* what;        // "the best rounds"
        const char* startsOver;  // after a set-aside: "the table starts empty"
        const char* keptOff;     // when the file cannot be moved: "no rounds are kept"
    };

    // The file at path, read up to maxSize bytes; an empty path keeps nothing.
    PlayerFile(std::string path, std::size_t maxSize, Wording wording);

    // xdgHome/torvel/name, or home/homeFallback/torvel/name when xdgHome is
    // unset, empty or not an absolute path; empty without an absolute home.
    // One decimal number of at most limit: digits only, no sign, no blank.
    static bool parseNumber(const std::string& field, std::uint64_t limit, std::uint64_t& value);
    static std::string pathIn(const char* xdgHome, const char* home, const char* homeFallback,
                              const char* name);

    // The whole text of the file. Bad, with the reason in fault, when it
    // cannot be read, is not a regular file or is larger than the limit.
    ReadResult read(std::string& text, std::string& fault) const;
    // Renames the damaged file aside and says so on standard error; on
    // failure says that too and keeps it off until a later set-aside works.
    void setAside(const std::string& fault);
    // Removes the temporaries that writers killed mid-write left behind.
    void removeStaleTemporaries() const;
    // Replaces the file with text, atomically. False, with the reason in
    // fault, when it could not; the old file is then as it was.
    bool write(const std::string& text, std::string& fault) const;

    const std::string& getPath() const { return path; }
    // A damaged file stays in place: nothing may be written over it.
    bool isKeptOff() const { return keptOff; }
    void clearKeptOff() { keptOff = false; }

private:
    std::string folder() const;
    std::string temporaryPrefix() const;

    std::string path;     // the file; empty: nothing is kept
    std::size_t maxSize;  // no more than this is ever read
    Wording wording;      // how the messages name it
    bool keptOff;         // set aside failed: never write over it
};
