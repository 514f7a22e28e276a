#include "PlayerFile.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How many numbered names (NAME.bad.1 and on) are tried for a bad file
// before it is left where it is.
const int maxSetAsideNames = 1000;

std::string systemError(int error)
{
    return std::strerror(error);
}

// A process id: decimal digits only, no sign, within a pid_t's range.
bool parseProcessId(const std::string& field, unsigned long& value)
{
    std::uint64_t read = 0;
    if (!PlayerFile::parseNumber(field, 0x7FFFFFFFull, read) || read == 0)
        return false;
    value = static_cast<unsigned long>(read);
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

bool PlayerFile::parseNumber(const std::string& field, std::uint64_t limit, std::uint64_t& value)
{
    if (field.empty())
        return false;
    value = 0;
    for (char c : field) {
        if (c < '0' || c > '9')
            return false;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (digit > limit || value > (limit - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    return true;
}

PlayerFile::PlayerFile(std::string path, std::size_t maxSize, Wording wording)
    : path(std::move(path)), maxSize(maxSize), wording(wording), keptOff(false)
{
}

std::string PlayerFile::pathIn(const char* xdgHome, const char* home, const char* homeFallback,
                               const char* name)
{
    // A relative XDG folder is invalid and must be ignored.
    if (xdgHome && xdgHome[0] == '/')
        return std::string(xdgHome) + "/torvel/" + name;
    if (home && home[0] == '/')
        return std::string(home) + "/" + homeFallback + "/torvel/" + name;
    return std::string();
}

std::string PlayerFile::folder() const
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string PlayerFile::temporaryPrefix() const
{
    const std::size_t slash = path.rfind('/');
    return path.substr(slash == std::string::npos ? 0 : slash + 1) + ".tmp.";
}

PlayerFile::ReadResult PlayerFile::read(std::string& text, std::string& fault) const
{
    text.clear();
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
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        fault = "not a plain file";
    } else if (static_cast<unsigned long long>(info.st_size) > maxSize) {
        fault = "too large (" + std::to_string(info.st_size) + " bytes)";
    } else {
        // Never more than one byte past the limit, even should the file grow
        // while it is read.
        std::vector<char> buffer(maxSize + 1);
        std::size_t size = 0;
        while (size < buffer.size()) {
            const ssize_t n = ::read(fd, buffer.data() + size, buffer.size() - size);
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
        if (fault.empty() && size > maxSize)
            fault = "too large";
        else if (fault.empty())
            text.assign(buffer.data(), size);
    }
    ::close(fd);
    return fault.empty() ? ReadResult::Read : ReadResult::Bad;
}

void PlayerFile::setAside(const std::string& fault)
{
    std::string aside = path + ".bad";
    for (int n = 1; !renameKeeping(path, aside); ++n) {
        if (errno != EEXIST || n > maxSetAsideNames) {
            const std::string why = errno == EEXIST ? "every name is taken" : systemError(errno);
            std::cerr << "torvel: cannot use " << wording.what << " in " << path << " (" << fault
                      << "), nor move the file aside (" << why << "): it is left as it is and "
                      << wording.keptOff << std::endl;
            keptOff = true;
            return;
        }
        aside = path + ".bad." + std::to_string(n);
    }
    keptOff = false;
    std::cerr << "torvel: cannot use " << wording.what << " in " << path << " (" << fault
              << "); kept it as " << aside << ", " << wording.startsOver << std::endl;
}

void PlayerFile::removeStaleTemporaries() const
{
    // A game killed while writing leaves NAME.tmp.<its process id>.
    DIR* dir = ::opendir(folder().c_str());
    if (!dir)
        return;
    const std::string prefix = temporaryPrefix();
    while (const dirent* item = ::readdir(dir)) {
        const std::string name = item->d_name;
        unsigned long pid = 0;
        if (name.compare(0, prefix.size(), prefix) != 0 || !parseProcessId(name.substr(prefix.size()), pid))
            continue;
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            ::unlink((folder() + "/" + name).c_str());
    }
    ::closedir(dir);
}

bool PlayerFile::write(const std::string& text, std::string& fault) const
{
    const std::string into = folder();
    if (!makeFolders(into, fault))
        return false;
    // Named after this process, so two games never write the same file and
    // one killed mid-write is known by its number.
    const std::string temporary = into + "/" + temporaryPrefix() + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        fault = systemError(errno);
        return false;
    }
    bool ok = writeAll(fd, text) && ::fsync(fd) == 0;
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
    const int folderFd = ::open(into.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return true;
}
