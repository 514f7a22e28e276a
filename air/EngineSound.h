#pragma once

#include <irrTypes.h>
#include <vector3d.h>

namespace torvel { class AudioManager; class AudioSource; }

// The steady sound of a jet's engines, heard quietly for as long as it flies
// so that the sky is never silent while a jet is up: a loop that starts at
// the jet's first move, follows it and stops when the jet is gone. It sits
// under the fly-by, which still comes as the jet passes: at the same
// distance the engine is about 9 dB quieter, and it carries twice as far
// before fading, so a jet at the far end of its path is still heard.
class EngineSound {
public:
    static const char* const file;                 // the loop's sound file
    static constexpr irr::f32 gain = 0.35f;        // of the file's level
    static constexpr irr::f32 strength = 2.0f;     // how far it carries (see DistanceModel)

    // audio may be null: no sound.
    explicit EngineSound(torvel::AudioManager* audio);
    ~EngineSound();

    // Where the jet is now: the first call starts the loop there, later ones
    // move it along.
    void follow(const irr::core::vector3df& position);
    bool isSounding() const;

private:
    EngineSound(const EngineSound&) = delete;
    EngineSound& operator=(const EngineSound&) = delete;

    torvel::AudioSource* source;  // belongs to the sound manager; null without sound
    bool started;                 // the loop has been started
};
