#pragma once

#include <irrTypes.h>

#include <cstddef>
#include <string>
#include <vector>

#include "BestTable.h"
#include "PlayerFile.h"

// The ten best air raids, kept beside the best rounds and the same way: the
// file is written atomically at the end of a raid that entered, and read
// defensively, a damaged one set aside and named (see PlayerFile). Each
// entry keeps its raid number, so that the raid can be played again.
//
//     torvel-raids 1
//     48210 6 3141592653 1718000000    points, waves survived, raid number, date (seconds since 1970, UTC)
//     end
class RaidTable {
public:
    struct Entry {
        irr::u32 points;
        irr::u32 waves;    // survived
        irr::u32 number;   // the raid number: `torvel --raid NUMBER` plays it again
        irr::u64 date;     // when the gun position was lost
        bool operator==(const Entry& other) const
        {
            return points == other.points && waves == other.waves && number == other.number && date == other.date;
        }
    };

    static constexpr std::size_t capacity = 10;
    static constexpr std::size_t maxFileSize = 4096;
    static constexpr std::size_t maxLineLength = 64;
    static constexpr irr::u64 maxDate = 253402300799ull;  // the last second of the year 9999
    static const char* const formatLine;                  // "torvel-raids 1"
    static constexpr int notEntered = -1;

    // The table kept in the file at path; an empty path keeps nothing.
    explicit RaidTable(std::string path);
    // "raids" beside the best rounds in the player's data folder.
    static std::string defaultPath();

    // Reads the file at start; a missing file is an empty table, a bad one set aside.
    void load() { kept.load(); }
    // At the end of a raid: reads the file again, enters the raid if it
    // belongs, and writes the table when it changed. Its place, or notEntered.
    int record(const Entry& raid) { return kept.record(raid); }

    const std::vector<Entry>& getEntries() const { return kept.getEntries(); }
    const std::string& getPath() const { return kept.getPath(); }

    // More points first, then more waves, then the earlier raid.
    static bool ranksAbove(const Entry& a, const Entry& b);
    static int enter(std::vector<Entry>& table, const Entry& raid);
    static std::string format(const std::vector<Entry>& table);
    // False, with the reason in fault, for anything but a table this version wrote.
    static bool parse(const std::string& text, std::vector<Entry>& table, std::string& fault);

private:
    BestTable<Entry> kept;        // the table and its file
};
