#include "ResourceFolder.h"

#include "ResourceTable.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

bool ResourceFolder::isPresent()
{
    std::error_code error;
    return fs::is_directory(ResourceTable::folder(), error);
}

std::string ResourceFolder::lookedIn(const std::string& workingDir)
{
    std::string folder = (fs::path(workingDir) / ".." / "res").lexically_normal().string();
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string ResourceFolder::missingMessage(const std::string& folder)
{
    return "Torvel found no resources in " + folder +
           " (it reads " + ResourceTable::folder() + " from where it starts): use the torvel launcher, or start it from its bin/ folder.";
}

std::string ResourceFolder::missingMessage()
{
    std::error_code error;
    const fs::path workingDir = fs::current_path(error);
    // A working directory that was removed has no name left to show.
    return missingMessage(error ? std::string(ResourceTable::folder()) : lookedIn(workingDir.string()));
}
