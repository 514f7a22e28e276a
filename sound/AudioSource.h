#pragma once

#include <memory>
#include <string>

namespace torvel {

class AudioManager;
class SampleBuffer;

// One playable sound. Sources are made by the AudioManager and belong to it;
// callers keep plain pointers and never delete them. After the manager's
// shut-down they stay valid, silent objects.
// A source whose file could not be loaded, or made without an audio device,
// is silent: it accepts every call, plays nothing and never reports playing.
class AudioSource {
public:
    // Plays from the start, unpositioned. False when nothing sounds.
    bool play2d(bool loop = false);
    // Plays from the start at a world position around the listener at the
    // origin. Stereo material is mixed down to mono so it can be positioned.
    // strength stretches how far the sound carries (see DistanceModel).
    // Coordinates that are not finite numbers are refused: nothing sounds.
    bool play3d(float x, float y, float z, float strength = 1.0f, bool loop = false);
    // Turns false by itself when the sound has played to its end. A sound
    // held by the manager's pause counts as playing.
    bool isPlaying() const;
    // Moves the sound (playing or not) to a new world position. A sound
    // playing unpositioned stays so; coordinates that are not finite numbers
    // are ignored.
    void move(float x, float y, float z);
    // Stops the sound at once; a later play starts it from the beginning.
    void stop();
    // The source's own loudness, 1 as the file stands; kept across plays.
    // Values that are not finite or below 0 are ignored.
    void setGain(float gain);
    float getGain() const { return gain; }

    const std::string& getName() const { return name; }
    // Whether the source has decoded samples to play.
    bool isValid() const;

private:
    friend class AudioManager;
    AudioSource(AudioManager* owner, std::string name, std::shared_ptr<SampleBuffer> samples);
    ~AudioSource();

    // Starts the voice on a buffer with the given placement.
    bool start(unsigned int buffer, bool positionedPlay, float rolloff, bool loop);

    AudioManager* owner;                     // the manager that made and keeps this source
    std::string name;                        // name given at creation; never used for lookups
    std::shared_ptr<SampleBuffer> samples;   // decoded file, shared with every source of the same file
    unsigned int voice = 0;                  // OpenAL source while playing, 0 otherwise
    float position[3] = {0.0f, 0.0f, 0.0f};  // last position given to play3d or move
    bool positioned = false;                 // whether the last play placed the sound in the world
    float gain = 1.0f;                       // the source's own loudness
};

} // namespace torvel
