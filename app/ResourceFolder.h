#pragma once

#include <string>

// The game reads its resources from "../res/" relative to where it starts.
// Started anywhere else it would open a window only to close it again on
// unrelated errors; this names the folder it looked in instead.
class ResourceFolder {
public:
    // Whether "../res/" is a folder, seen from the working directory.
    static bool isPresent();

    // The folder "../res/" stands for when started in workingDir (an absolute
    // path), without any "..": "/home/me/bin" gives "/home/me/res/".
    static std::string lookedIn(const std::string& workingDir);

    // The one line that tells the player what is wrong and what to do.
    static std::string missingMessage(const std::string& folder);

    // The same, for the working directory of this process.
    static std::string missingMessage();
};
