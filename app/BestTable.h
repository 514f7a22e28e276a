#pragma once

#include <iostream>
#include <string>
#include <vector>

#include "PlayerFile.h"

// The keeping of a table of bests (the best rounds, the best raids) in a
// player's file: read at start, read again and entered into at the end of
// each game, written atomically when it changed, and a damaged file set
// aside and named (see PlayerFile). Entries that a full disk or a folder
// that cannot be written kept out of the file stay in this session's table
// and go into the file with the next one that is saved. What an entry is,
// how entries rank and how the file reads are the table's own: its rules.
template <typename Entry>
class BestTable {
public:
    struct Rules {
        // Enters an entry in a sorted table: its place, or notEntered.
        int (*enter)(std::vector<Entry>& table, const Entry& entry);
        std::string (*format)(const std::vector<Entry>& table);
        // False, with the reason in fault, for anything but a table this version wrote.
        bool (*parse)(const std::string& text, std::vector<Entry>& table, std::string& fault);
    };
    static constexpr int notEntered = -1;

    // The table kept in the file at path; an empty path keeps nothing.
    BestTable(std::string path, std::size_t maxFileSize, const PlayerFile::Wording& wording, Rules rules)
        : file(std::move(path), maxFileSize, wording), what(wording.what), rules(rules)
    {
    }

    // Reads the file at start; a missing file is an empty table, a bad one
    // set aside. Also removes temporary files that writers killed mid-write
    // left behind.
    void load()
    {
        entries.clear();
        file.clearKeptOff();
        if (file.getPath().empty()) {
            std::cerr << "torvel: no home folder: " << what << " are not kept" << std::endl;
            return;
        }
        file.removeStaleTemporaries();
        std::string fault;
        if (readFile(entries, fault) == PlayerFile::ReadResult::Bad)
            file.setAside(fault);
    }

    // At the end of a game: reads the file again (another game may have
    // ended since this one began), enters the entry if it belongs, and
    // writes the table when it changed. Its place, or notEntered.
    int record(const Entry& entry)
    {
        if (file.getPath().empty())
            return rules.enter(entries, entry);
        // A missing file leaves the table as this game knows it: a folder
        // that cannot be written still shows the entries of this session.
        std::vector<Entry> current;
        std::string fault;
        const PlayerFile::ReadResult result = readFile(current, fault);
        if (result == PlayerFile::ReadResult::Read) {
            entries = current;
        } else if (result == PlayerFile::ReadResult::Bad) {
            file.setAside(fault);
            entries.clear();
        }
        if (result != PlayerFile::ReadResult::Missing)
            for (const Entry& kept : unsaved)
                rules.enter(entries, kept);
        const int place = rules.enter(entries, entry);
        if (place == notEntered)
            return place;
        if (file.isKeptOff()) {
            std::cerr << "torvel: not writing " << what << " over the damaged " << file.getPath() << std::endl;
            unsaved.push_back(entry);
            return place;
        }
        if (file.write(rules.format(entries), fault)) {
            unsaved.clear();
        } else {
            std::cerr << "torvel: cannot save " << what << " to " << file.getPath() << ": " << fault
                      << "; play goes on" << std::endl;
            unsaved.push_back(entry);
        }
        return place;
    }

    const std::vector<Entry>& getEntries() const { return entries; }
    const std::string& getPath() const { return file.getPath(); }

private:
    PlayerFile::ReadResult readFile(std::vector<Entry>& table, std::string& fault) const
    {
        table.clear();
        std::string text;
        const PlayerFile::ReadResult result = file.read(text, fault);
        if (result != PlayerFile::ReadResult::Read)
            return result;
        return rules.parse(text, table, fault) ? result : PlayerFile::ReadResult::Bad;
    }

    PlayerFile file;             // where the table is kept; an empty path keeps nothing
    const char* what;            // "the best rounds", for the messages
    Rules rules;                 // the table's own
    std::vector<Entry> entries;  // best first
    std::vector<Entry> unsaved;  // entered this session but not yet in the file
};
