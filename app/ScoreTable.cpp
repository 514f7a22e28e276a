#include "ScoreTable.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace irr;

const char* const ScoreTable::formatLine = "torvel-scores 1";

namespace {

const char* const endLine = "end";
const char* const temporaryPrefix = "scores.tmp.";
// How many numbered names (scores.bad.1 and on) are tried for a bad file
// before it is left where it is.
const int maxSetAsideNames = 1000;

std::string systemError(int error)
{
    return std::strerror(error);
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// One decimal number of at most `limit`, digits only (no sign, no blank).
bool parseNumber(const std::string& field, u64 limit, u64& value)
{
    if (field.empty())
        return false;
    value = 0;
    for (char c : field) {
        if (c < '0' || c > '9')
            return false;
        const u64 digit = static_cast<u64>(c - '0');
        if (digit > limit || value > (limit - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    return true;
}

// mkdir -p, with new folders private to the player as data folders should be.
bool makeFolders(const std::string& folder, std::string& fault)
{
    for (std::size_t at = 1; at <= folder.size(); ++at) {
        if (at != folder.size() && folder[at] != '/')
            continue;
        const std::string part = folder.substr(0, at);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            fault = "cannot make " + part + ": " + systemError(errno);
            return false;
        }
    }
    struct stat info;
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        fault = folder + " is not a folder";
        return false;
    }
    return true;
}

bool writeAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Renames from to to unless to exists, which is never replaced.
bool renameKeeping(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system that cannot rename without replacing: look first.
    struct stat info;
    if (::lstat(to.c_str(), &info) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

} // namespace

ScoreTable::ScoreTable(std::string path) : path(std::move(path)), keepOff(false)
{
}

std::string ScoreTable::defaultPath()
{
    return pathFor(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

std::string ScoreTable::pathFor(const char* xdgDataHome, const char* home)
{
    // A relative XDG_DATA_HOME is invalid and must be ignored.
    if (xdgDataHome && xdgDataHome[0] == '/')
        return std::string(xdgDataHome) + "/torvel/scores";
    if (home && home[0] == '/')
        return std::string(home) + "/.local/share/torvel/scores";
    return std::string();
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
        if (second == std::string::npos || !parseNumber(line.substr(0, first), 0xFFFFFFFFull, points)
            || !parseNumber(line.substr(first + 1, second - first - 1), maxHits, hits)
            || !parseNumber(line.substr(second + 1), maxDate, date)) {
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

void ScoreTable::load()
{
    entries.clear();
    keepOff = false;
    if (path.empty()) {
        std::cerr << "torvel: no home folder: the best rounds are not kept" << std::endl;
        return;
    }
    removeStaleTemporaries();
    std::string fault;
    if (readFile(entries, fault) == ReadResult::Bad)
        setAside(fault);
}

int ScoreTable::record(const Entry& round)
{
    if (path.empty())
        return enter(entries, round);
    // The file as it is now: another game may have ended a round since ours began.
    // A missing file leaves the table as this game knows it: a folder that
    // cannot be written still shows the rounds of this session.
    std::vector<Entry> current;
    std::string fault;
    const ReadResult result = readFile(current, fault);
    if (result == ReadResult::Read) {
        entries = current;
    } else if (result == ReadResult::Bad) {
        setAside(fault);
        entries.clear();
    }
    // Rounds of this session that a full disk or a folder that could not be
    // written kept out of the file go back in, to be saved with this one.
    if (result != ReadResult::Missing)
        for (const Entry& kept : unsaved)
            enter(entries, kept);
    const int place = enter(entries, round);
    if (place == notEntered)
        return place;
    if (keepOff) {
        std::cerr << "torvel: not writing the best rounds over the damaged " << path << std::endl;
        unsaved.push_back(round);
        return place;
    }
    if (write(entries, fault)) {
        unsaved.clear();
    } else {
        std::cerr << "torvel: cannot save the best rounds to " << path << ": " << fault
                  << "; play goes on" << std::endl;
        unsaved.push_back(round);
    }
    return place;
}

ScoreTable::ReadResult ScoreTable::readFile(std::vector<Entry>& table, std::string& fault) const
{
    table.clear();
    // Not blocking: a FIFO in the file's place must not hang the game.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        // No file, or no folder for it yet.
        if (errno == ENOENT || errno == ENOTDIR)
            return ReadResult::Missing;
        fault = "cannot be read: " + systemError(errno);
        return ReadResult::Bad;
    }
    struct stat info;
    std::string text;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        fault = "not a plain file";
    } else if (static_cast<unsigned long long>(info.st_size) > maxFileSize) {
        fault = "too large (" + std::to_string(info.st_size) + " bytes)";
    } else {
        // Never more than one byte past the limit, even should the file grow
        // while it is read.
        char buffer[maxFileSize + 1];
        std::size_t size = 0;
        while (size < sizeof buffer) {
            const ssize_t n = ::read(fd, buffer + size, sizeof buffer - size);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                fault = "cannot be read: " + systemError(errno);
                break;
            }
            if (n == 0)
                break;
            size += static_cast<std::size_t>(n);
        }
        if (fault.empty() && size > maxFileSize)
            fault = "too large";
        else if (fault.empty())
            text.assign(buffer, size);
    }
    ::close(fd);
    if (!fault.empty())
        return ReadResult::Bad;
    return parse(text, table, fault) ? ReadResult::Read : ReadResult::Bad;
}

void ScoreTable::setAside(const std::string& fault)
{
    std::string aside = path + ".bad";
    for (int n = 1; !renameKeeping(path, aside); ++n) {
        if (errno != EEXIST || n > maxSetAsideNames) {
            const std::string why = errno == EEXIST ? "every name is taken" : systemError(errno);
            std::cerr << "torvel: cannot use the best rounds in " << path << " (" << fault
                      << "), nor move the file aside (" << why
                      << "): it is left as it is and no rounds are kept" << std::endl;
            keepOff = true;
            return;
        }
        aside = path + ".bad." + std::to_string(n);
    }
    keepOff = false;
    std::cerr << "torvel: cannot use the best rounds in " << path << " (" << fault << "); kept it as "
              << aside << ", the table starts empty" << std::endl;
}

void ScoreTable::removeStaleTemporaries() const
{
    // A game killed while writing leaves scores.tmp.<its process id>.
    DIR* folder = ::opendir(folderOf(path).c_str());
    if (!folder)
        return;
    const std::size_t prefixLength = std::strlen(temporaryPrefix);
    while (const dirent* item = ::readdir(folder)) {
        const std::string name = item->d_name;
        u64 pid = 0;
        if (name.compare(0, prefixLength, temporaryPrefix) != 0
            || !parseNumber(name.substr(prefixLength), 0x7FFFFFFF, pid) || pid == 0)
            continue;
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            ::unlink((folderOf(path) + "/" + name).c_str());
    }
    ::closedir(folder);
}

bool ScoreTable::write(const std::vector<Entry>& table, std::string& fault) const
{
    const std::string folder = folderOf(path);
    if (!makeFolders(folder, fault))
        return false;
    // Named after this process, so two games never write the same file and
    // one killed mid-write is known by its number.
    const std::string temporary = folder + "/" + temporaryPrefix + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        fault = systemError(errno);
        return false;
    }
    bool ok = writeAll(fd, format(table)) && ::fsync(fd) == 0;
    int error = errno;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        fault = systemError(error);
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename itself reaches the disk only with the folder.
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return true;
}
