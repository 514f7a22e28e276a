#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

// The tests that record the game's sound play it from a folder of their
// own: bin/ to run in, res/ with the baked resources beside it, and OpenAL
// Soft's wave output writing recording.wav there in stereo. OpenAL reads
// its configuration when first touched, by the first game, so this runs
// every test of the program once the folder is made, then removes it.
namespace RecordingGame {

struct Choice {
    bool withoutGunBurst;   // the guns silent, so they cover nothing listened for
    bool hrtfOff;           // plain panning, whatever the game asks
};

inline int runAllTests(const char* prefix, const Choice& choice, std::filesystem::path& scratch)
{
    namespace fs = std::filesystem;
    std::string pattern = std::string("/tmp/") + prefix + "-XXXXXX";
    if (!mkdtemp(pattern.data()))
        return 1;
    scratch = pattern;
    const fs::path res = fs::current_path().parent_path() / "res";
    fs::create_directories(scratch / "bin");
    fs::create_directories(scratch / "res");
    for (const fs::directory_entry& file : fs::directory_iterator(res))
        if (!choice.withoutGunBurst || file.path().filename() != "gunburst.wav")
            fs::create_symlink(file.path(), scratch / "res" / file.path().filename());
    std::ofstream(scratch / "alsoft.conf") << "[general]\ndrivers=wave\nchannels=stereo\n"
                                           << (choice.hrtfOff ? "hrtf=false\n" : "") << "[wave]\nfile="
                                           << (scratch / "recording.wav").string() << "\n";
    setenv("ALSOFT_CONF", (scratch / "alsoft.conf").c_str(), 1);
    unsetenv("ALSOFT_DRIVERS");
    // The best rounds the games play go to the folder too.
    setenv("XDG_DATA_HOME", (scratch / "data").c_str(), 1);
    fs::current_path(scratch / "bin");
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    return result;
}

} // namespace RecordingGame
