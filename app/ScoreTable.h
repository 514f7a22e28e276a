#pragma once

#include "BestTable.h"
#include "PlayerFile.h"

#include <irrTypes.h>

#include <cstddef>
#include <string>
#include <vector>

// The ten best rounds, kept in a small text file in the player's data folder.
//
// The file is written only at the end of a round, and atomically: the new
// table goes to a temporary file beside the old one, is flushed to disk and
// renamed over it, and the folder is flushed, so a crash or a power cut at
// any moment leaves either the old table or the new one. It is read
// defensively: a file that is damaged, unreadable or not what this version
// wrote is never trusted and never overwritten; it is renamed aside (to
// scores.bad, or scores.bad.1 and on when that is taken), named in one line
// on standard error, and the table starts empty. Nothing here stops play:
// every failure is one line on standard error.
//
// The file, plain text, one round a line after a line that names the format,
// ended by a line "end" so that a file cut at a line's end is told apart
// from a shorter table:
//
//     torvel-scores 1
//     7412 3 1718000000          points, jets hit, end of the round (seconds since 1970, UTC)
//     end
class ScoreTable {
public:
    struct Entry {
        irr::u32 points;  // points of the round
        irr::u32 hits;    // jets hit, 0 to maxHits
        irr::u64 date;    // when the round ended: seconds since 1970-01-01 UTC
        bool operator==(const Entry& other) const
        {
            return points == other.points && hits == other.hits && date == other.date;
        }
    };

    static constexpr std::size_t capacity = 10;
    static constexpr irr::u32 maxHits = 5;
    static constexpr irr::u64 maxDate = 253402300799ull;  // the last second of the year 9999
    // A table of ten rounds takes a few hundred bytes; no more than this is
    // ever read, whatever lies in the file.
    static constexpr std::size_t maxFileSize = 4096;
    static constexpr std::size_t maxLineLength = 64;
    static const char* const formatLine;   // the first line: "torvel-scores 1"
    static constexpr int notEntered = -1;

    // The table kept in the file at path; an empty path keeps nothing.
    explicit ScoreTable(std::string path);

    // $XDG_DATA_HOME/torvel/scores, or ~/.local/share/torvel/scores when that
    // is unset, empty or not an absolute path; empty without a home folder.
    static std::string defaultPath();
    static std::string pathFor(const char* xdgDataHome, const char* home);

    // Reads the file at start. A missing file is an empty table; a bad one is
    // set aside. Also removes temporary files that writers killed mid-write
    // left behind.
    void load() { kept.load(); }

    // At the end of a round that ran to its end: reads the file again (another
    // game may have written it since), enters the round if it belongs among
    // the best, and writes the table when it changed. Rounds of this session
    // that could not be written then (a full disk, a folder made read-only)
    // are entered again and saved with it. Returns the round's place (0 for
    // the best), or notEntered.
    int record(const Entry& round) { return kept.record(round); }

    const std::vector<Entry>& getEntries() const { return kept.getEntries(); }
    const std::string& getPath() const { return kept.getPath(); }

    // The ranking: more points first, then more hits, then the earlier round,
    // which keeps its place against a later one that only equals it.
    static bool ranksAbove(const Entry& a, const Entry& b);
    // Puts round into the sorted table if it belongs there, dropping the
    // eleventh; returns its place or notEntered. A round enters while the
    // table holds fewer than ten, whatever its points.
    static int enter(std::vector<Entry>& table, const Entry& round);
    // The file's text for a sorted table.
    static std::string format(const std::vector<Entry>& table);
    // Reads a file's text into a sorted table. False, with the reason in
    // fault and table left empty, when the text is not a whole, well-formed
    // table of at most ten rounds.
    static bool parse(const std::string& text, std::vector<Entry>& table, std::string& fault);

private:
    BestTable<Entry> kept;        // the table and its file
};
