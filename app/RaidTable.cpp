#include "RaidTable.h"

#include <algorithm>
#include <cstdlib>

using namespace irr;

const char* const RaidTable::formatLine = "torvel-raids 1";

namespace {

const char* const endLine = "end";
const PlayerFile::Wording wording{"the best raids", "the table starts empty", "no raids are kept"};

} // namespace

RaidTable::RaidTable(std::string path)
    : kept(std::move(path), maxFileSize, wording, BestTable<Entry>::Rules{enter, format, parse})
{
}

std::string RaidTable::defaultPath()
{
    return PlayerFile::pathIn(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"), ".local/share", "raids");
}

bool RaidTable::ranksAbove(const Entry& a, const Entry& b)
{
    if (a.points != b.points)
        return a.points > b.points;
    if (a.waves != b.waves)
        return a.waves > b.waves;
    return a.date < b.date;
}

int RaidTable::enter(std::vector<Entry>& table, const Entry& raid)
{
    const auto place = std::upper_bound(table.begin(), table.end(), raid, ranksAbove);
    const std::size_t index = static_cast<std::size_t>(place - table.begin());
    if (index >= capacity)
        return notEntered;
    table.insert(place, raid);
    if (table.size() > capacity)
        table.resize(capacity);
    return static_cast<int>(index);
}

std::string RaidTable::format(const std::vector<Entry>& table)
{
    std::string text = std::string(formatLine) + "\n";
    for (const Entry& entry : table)
        text += std::to_string(entry.points) + " " + std::to_string(entry.waves) + " " +
                std::to_string(entry.number) + " " + std::to_string(entry.date) + "\n";
    return text + endLine + "\n";
}

bool RaidTable::parse(const std::string& text, std::vector<Entry>& table, std::string& fault)
{
    table.clear();
    std::vector<Entry> read;
    std::size_t lineStart = 0;
    int lineNumber = 0;
    bool ended = false;
    while (lineStart < text.size()) {
        ++lineNumber;
        const std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos) {
            fault = "cut short in line " + std::to_string(lineNumber);
            return false;
        }
        const std::string line = text.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (line.size() > maxLineLength) {
            fault = where + "too long";
            return false;
        }
        if (ended) {
            fault = where + "more after the end";
            return false;
        }
        if (lineNumber == 1) {
            if (line != formatLine) {
                fault = line.rfind("torvel-raids ", 0) == 0 ? "a format this version cannot read"
                                                            : "not a table of best raids";
                return false;
            }
            continue;
        }
        if (line == endLine) {
            ended = true;
            continue;
        }
        if (read.size() == capacity) {
            fault = where + "more than " + std::to_string(capacity) + " raids";
            return false;
        }
        // Four numbers, one blank between each two, nothing else.
        std::vector<std::string> fields;
        std::size_t from = 0;
        for (std::size_t blank; (blank = line.find(' ', from)) != std::string::npos; from = blank + 1)
            fields.push_back(line.substr(from, blank - from));
        fields.push_back(line.substr(from));
        u64 points = 0, waves = 0, number = 0, date = 0;
        if (fields.size() != 4 || !PlayerFile::parseNumber(fields[0], 0xFFFFFFFFull, points) ||
            !PlayerFile::parseNumber(fields[1], 0xFFFFFFFFull, waves) ||
            !PlayerFile::parseNumber(fields[2], 0xFFFFFFFFull, number) ||
            !PlayerFile::parseNumber(fields[3], maxDate, date)) {
            fault = where + "not a raid (points, waves, raid number, date)";
            return false;
        }
        read.push_back(Entry{static_cast<u32>(points), static_cast<u32>(waves), static_cast<u32>(number), date});
    }
    if (lineNumber == 0) {
        fault = "empty";
        return false;
    }
    if (!ended) {
        fault = "cut short after line " + std::to_string(lineNumber);
        return false;
    }
    std::stable_sort(read.begin(), read.end(), ranksAbove);
    table = std::move(read);
    return true;
}

