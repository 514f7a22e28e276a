#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A private folder under the temporary one for a fuzz target's files: the
// game's readers take paths, so each input is written to a file first and
// read from there as the game reads its own. Removed with everything in it
// when the target ends.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();

    // The one folder of this target's process, made at its first use.
    static const ScratchFolder& shared();

    // The path of name in the folder, its content replaced by the bytes given.
    std::string write(const std::string& name, const std::uint8_t* data, std::size_t size) const;
    // Empties the folder, keeping the folder itself.
    void clear() const;
    std::string pathOf(const std::string& name) const { return folder + "/" + name; }
    const std::string& getPath() const { return folder; }

private:
    std::string folder;  // made by mkdtemp, private to this process
};
