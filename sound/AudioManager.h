#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace torvel {

class AudioDevice;
class AudioSource;
class SampleBuffer;
class SoundLog;

// Owns the audio device and every source made from it. Playback runs on
// OpenAL Soft's own mixer thread: nothing needs to be called per frame.
// All calls come from the game's one thread.
//
// Memory stays bounded however many sources are made: the samples of a file
// are decoded once and shared, and a source holds an OpenAL voice only from
// the moment it starts playing until it has ended (finished voices are given
// back whenever another source starts).
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
    // The same for a name given as a text literal, which would otherwise
    // convert to the bool of the static create above and make a manager.
    AudioSource* create(const char* name, const std::string& path, bool stream = false);

    // The listener stays at the origin, where the gun stands, and turns with
    // the player's view: forward and up are world directions (the camera's).
    // Directions that are not finite or are of zero length are ignored.
    void setListenerOrientation(const float forward[3], const float up[3]);
    // The loudness of everything the game plays, 0 (silent) to 1 (as
    // recorded): the listener's gain. Values outside are held to the range.
    void setVolume(float gain);
    float getVolume() const { return volume; }

    // The one switch for OpenAL Soft's head-related filters, which let the
    // player tell a jet ahead from one behind on headphones or stereo
    // speakers. On from the start; the library applies it only where the
    // output is stereo. Returns whether the output mixes through them now.
    bool setHrtf(bool on);
    bool isHrtfOn() const;

    // Holds every sound that is playing where it is, and lets them go on
    // from there. Sounds started while paused play at once. Both are
    // idempotent: a second pause holds nothing more.
    void pauseAll();
    void resumeAll();
    bool isPaused() const { return paused; }

    // Stops every source and frees every voice, all decoded samples and the
    // device. The manager object itself stays valid (and silent) afterwards,
    // and so do the source objects callers still point to: they are kept as
    // small silent shells until the manager is destroyed, and sources made
    // after the shut-down are silent too.
    void shutDown();

    // Shuts down if that has not happened yet and frees the source objects.
    // The game never destroys its manager.
    ~AudioManager();

    AudioManager(const AudioManager&) = delete;
    AudioManager& operator=(const AudioManager&) = delete;

    bool hasDevice() const;
    bool isShutDown() const { return shutDownDone; }
    std::size_t getSourceCount() const { return sources.size(); }
    // Sound files whose samples are held right now.
    std::size_t getLoadedFileCount() const;
    // OpenAL voices held right now, and the most ever held at once.
    std::size_t getVoiceCount() const { return voiced.size(); }
    std::size_t getPeakVoiceCount() const { return peakVoices; }

private:
    friend class AudioSource;

    AudioManager(bool initializeDefault, const std::string& logFile);

    std::shared_ptr<SampleBuffer> samplesFor(const std::string& path);
    // Gives the source a stopped voice to configure and start: its own if it
    // has one, else a new one. False when there is none to give.
    bool prepareVoice(AudioSource& source);
    // Called when a voice failed to start after prepareVoice.
    void giveBackVoice(AudioSource& source);
    void reclaimFinishedVoices();
    // Makes this manager's context current; false when there is no device.
    bool select() const;

    std::unique_ptr<SoundLog> log;                                       // the HTML event log
    std::unique_ptr<AudioDevice> device;                                 // null when sound is off
    std::map<std::string, std::shared_ptr<SampleBuffer>> samplesByPath;  // by canonical path; null: failed, not retried
    std::vector<AudioSource*> sources;                                   // every source made, owned, freed by the destructor
    std::vector<AudioSource*> voiced;                                    // sources that hold an OpenAL voice
    std::size_t peakVoices = 0;                                          // most voices held at once
    bool voiceShortageLogged = false;                                    // the log tells of a voice shortage only once
    bool shutDownDone = false;                                           // after shutDown everything is silent
    bool paused = false;                                                 // pauseAll holds the sounds
    float volume = 1.0f;                                                 // the listener's gain, 0 to 1
};

// The game's entry point to the sound layer.
AudioManager* createAudioManager(bool initializeDefault = true,
                                 const std::string& logFile = "cAudioEngineLog.html");

} // namespace torvel
