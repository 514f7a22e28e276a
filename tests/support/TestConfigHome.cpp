// Linked into every test program that starts the game: before main, the
// program gets a settings folder of its own, empty, and removed at its end,
// so that no test reads the player's settings or writes over them, and no
// test sees what another one changed.

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string folder;

void removeFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

const bool configHomeSet = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "torvel-test-config-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        std::abort();
    folder = pattern;
    std::atexit(removeFolder);
    return ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1) == 0;
}();

} // namespace
