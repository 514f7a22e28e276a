#pragma once

#include <string>

// Sound files made on the spot for the sound tests, in a private temporary
// folder that goes away with the object.
class TestSounds {
public:
    TestSounds();
    ~TestSounds();

    // A sine tone of 440 Hz with the given peak level (0..1) in each channel
    // (right is used only when channels is 2 or more; further channels get left).
    std::string tone(const std::string& name, int channels, double seconds, double left, double right = 0.0,
                     int rate = 44100);
    // A file that starts like a WAV file and then is garbage.
    std::string corrupt(const std::string& name);
    // A well-formed WAV header that promises far more samples than follow.
    std::string truncated(const std::string& name);
    std::string path(const std::string& name) const { return dir + "/" + name; }
    const std::string& getDir() const { return dir; }

private:
    std::string dir;  // the temporary folder
};
