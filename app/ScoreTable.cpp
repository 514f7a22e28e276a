#include "ScoreTable.h"

#include <algorithm>
#include <cstdlib>

using namespace irr;

const char* const ScoreTable::formatLine = "torvel-scores 1";

namespace {

const char* const endLine = "end";

const PlayerFile::Wording wording{"the best rounds", "the table starts empty", "no rounds are kept"};

} // namespace

ScoreTable::ScoreTable(std::string path)
    : kept(std::move(path), maxFileSize, wording, BestTable<Entry>::Rules{enter, format, parse})
{
}

std::string ScoreTable::defaultPath()
{
    return pathFor(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

std::string ScoreTable::pathFor(const char* xdgDataHome, const char* home)
{
    return PlayerFile::pathIn(xdgDataHome, home, ".local/share", "scores");
}

bool ScoreTable::ranksAbove(const Entry& a, const Entry& b)
{
    if (a.points != b.points)
        return a.points > b.points;
    if (a.hits != b.hits)
        return a.hits > b.hits;
    return a.date < b.date;
}

int ScoreTable::enter(std::vector<Entry>& table, const Entry& round)
{
    // After every round that ranks above it or equals it.
    const auto place = std::upper_bound(table.begin(), table.end(), round, ranksAbove);
    const std::size_t index = static_cast<std::size_t>(place - table.begin());
    if (index >= capacity)
        return notEntered;
    table.insert(place, round);
    if (table.size() > capacity)
        table.resize(capacity);
    return static_cast<int>(index);
}

std::string ScoreTable::format(const std::vector<Entry>& table)
{
    std::string text = std::string(formatLine) + "\n";
    for (const Entry& entry : table)
        text += std::to_string(entry.points) + " " + std::to_string(entry.hits) + " "
            + std::to_string(entry.date) + "\n";
    return text + endLine + "\n";
}

bool ScoreTable::parse(const std::string& text, std::vector<Entry>& table, std::string& fault)
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
        for (char c : line) {
            if (c != ' ' && !(c >= '0' && c <= '9') && !(c >= 'a' && c <= 'z') && c != '-') {
                fault = where + "a character that does not belong";
                return false;
            }
        }
        if (ended) {
            fault = where + "more after the end";
            return false;
        }
        if (lineNumber == 1) {
            if (line != formatLine) {
                fault = line.rfind("torvel-scores ", 0) == 0 ? "a format this version cannot read"
                                                             : "not a table of best rounds";
                return false;
            }
            continue;
        }
        if (line == endLine) {
            ended = true;
            continue;
        }
        if (read.size() == capacity) {
            fault = where + "more than " + std::to_string(capacity) + " rounds";
            return false;
        }
        // Three numbers, each followed by exactly one blank but the last.
        const std::size_t first = line.find(' ');
        const std::size_t second = first == std::string::npos ? first : line.find(' ', first + 1);
        u64 points = 0;
        u64 hits = 0;
        u64 date = 0;
        if (second == std::string::npos || !PlayerFile::parseNumber(line.substr(0, first), 0xFFFFFFFFull, points)
            || !PlayerFile::parseNumber(line.substr(first + 1, second - first - 1), maxHits, hits)
            || !PlayerFile::parseNumber(line.substr(second + 1), maxDate, date)) {
            fault = where + "not a round (points, hits, date)";
            return false;
        }
        read.push_back(Entry{static_cast<u32>(points), static_cast<u32>(hits), date});
    }
    if (lineNumber == 0) {
        fault = "empty";
        return false;
    }
    if (!ended) {
        fault = "cut short after line " + std::to_string(lineNumber);
        return false;
    }
    // Only a hand could have put them out of order; the order is ours to keep.
    std::stable_sort(read.begin(), read.end(), ranksAbove);
    table = std::move(read);
    return true;
}

