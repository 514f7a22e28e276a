#pragma once

#include <string>

namespace torvel {

class AudioSource;

// Owns the audio device and every source made from it. Playback runs on
// OpenAL Soft's own mixer thread: nothing needs to be called per frame.
class AudioManager {
public:
    // Opens the default device when initializeDefault is true. Never fails:
    // without a device every source it makes is silent. The log is a small
    // HTML page written to logFile in the working directory.
    static AudioManager* create(bool initializeDefault, const std::string& logFile);

    // A new source from a WAV file. Decoded samples are loaded once per path and
    // shared by all sources of that path. Never null; a file that cannot be
    // read gives a silent source. stream is accepted for the callers' sake;
    // files are always decoded whole.
    AudioSource* create(const std::string& name, const std::string& path, bool stream = false);

    // Stops and frees every source and closes the device. The manager object
    // itself stays valid (and silent) afterwards.
    void shutDown();

    bool hasDevice() const;
};

// The game's entry point to the sound layer.
AudioManager* createAudioManager(bool initializeDefault = true,
                                 const std::string& logFile = "cAudioEngineLog.html");

} // namespace torvel
