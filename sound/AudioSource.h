#pragma once

#include <memory>
#include <string>

namespace torvel {

class AudioManager;
class SampleBuffer;

// One playable sound. Sources are made by the AudioManager and stay with it
// until it shuts down; callers keep plain pointers and never delete them.
// A source whose file could not be loaded, or made without an audio device,
// is silent: it accepts every call, plays nothing and never reports playing.
class AudioSource {
public:
    // Plays from the start, unpositioned.
    bool play2d(bool loop = false);
    // Plays from the start at a world position around the listener at the
    // origin. Stereo material is mixed down to mono so it can be positioned.
    bool play3d(float x, float y, float z, float strength = 1.0f, bool loop = false);
    bool isPlaying() const;
    // Moves the sound (playing or not) to a new world position.
    void move(float x, float y, float z);

    const std::string& getName() const { return name; }
    // Whether the source has decoded samples to play.
    bool isValid() const;

private:
    friend class AudioManager;
    AudioSource(AudioManager* owner, std::string name, std::shared_ptr<SampleBuffer> samples);
    ~AudioSource();

    AudioManager* owner;                     // the manager that made and keeps this source
    std::string name;                        // name given at creation; never used for lookups
    std::shared_ptr<SampleBuffer> samples;   // decoded file, shared with every source of the same file
    unsigned int voice = 0;                  // OpenAL source while playing, 0 otherwise
    float position[3] = {0.0f, 0.0f, 0.0f};  // last position given to play3d or move
};

} // namespace torvel
