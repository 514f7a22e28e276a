#include "AudioSource.h"

#include "AudioManager.h"
#include "DistanceModel.h"
#include "SampleBuffer.h"
#include "WorldAxes.h"

#include <AL/al.h>
#include <AL/alext.h>

#include <cmath>

namespace torvel {

AudioSource::AudioSource(AudioManager* owner, std::string name, std::shared_ptr<SampleBuffer> samples)
    : owner(owner), name(std::move(name)), samples(std::move(samples)) {}

AudioSource::~AudioSource() = default;

bool AudioSource::isValid() const {
    return samples != nullptr;
}

bool AudioSource::play2d(bool loop) {
    if (!samples)
        return false;
    return start(samples->getBuffer(), false, 0.0f, loop);
}

bool AudioSource::play3d(float x, float y, float z, float strength, bool loop) {
    if (!samples || !std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z))
        return false;
    position[0] = x;
    position[1] = y;
    position[2] = z;
    return start(samples->getMonoBuffer(), true, DistanceModel::rolloffFor(strength), loop);
}

bool AudioSource::start(unsigned int buffer, bool positionedPlay, float rolloff, bool loop) {
    if (!owner->prepareVoice(*this))
        return false;
    positioned = positionedPlay;
    alGetError();
    alSourcei(voice, AL_BUFFER, static_cast<ALint>(buffer));
    alSourcei(voice, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    // Unpositioned sound rides with the listener at its own place, undimmed.
    alSourcei(voice, AL_SOURCE_RELATIVE, positioned ? AL_FALSE : AL_TRUE);
    if (positioned) {
        float at[3];
        WorldAxes::toOpenAl(position[0], position[1], position[2], at);
        alSource3f(voice, AL_POSITION, at[0], at[1], at[2]);
    } else {
        alSource3f(voice, AL_POSITION, 0.0f, 0.0f, 0.0f);
    }
    alSourcef(voice, AL_REFERENCE_DISTANCE, DistanceModel::referenceDistance);
    alSourcef(voice, AL_MAX_DISTANCE, DistanceModel::maxDistance);
    alSourcef(voice, AL_ROLLOFF_FACTOR, rolloff);
    alSourcef(voice, AL_GAIN, gain);
    // Unpositioned stereo (the guns) plays as it was mixed, left to left and
    // right to right, never through the head-related filters.
    if (alIsExtensionPresent("AL_SOFT_direct_channels"))
        alSourcei(voice, AL_DIRECT_CHANNELS_SOFT, positioned ? AL_FALSE : AL_TRUE);
    alSourcePlay(voice);
    if (alGetError() != AL_NO_ERROR) {
        owner->giveBackVoice(*this);
        return false;
    }
    return true;
}

bool AudioSource::isPlaying() const {
    if (voice == 0 || !owner->select())
        return false;
    ALint state = AL_STOPPED;
    alGetSourcei(voice, AL_SOURCE_STATE, &state);
    // Held by a pause, it still has the rest of its sound to play.
    return state == AL_PLAYING || state == AL_PAUSED;
}

void AudioSource::move(float x, float y, float z) {
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z))
        return;
    position[0] = x;
    position[1] = y;
    position[2] = z;
    if (voice != 0 && positioned && owner->select()) {
        float at[3];
        WorldAxes::toOpenAl(x, y, z, at);
        alSource3f(voice, AL_POSITION, at[0], at[1], at[2]);
    }
}

void AudioSource::stop() {
    if (voice != 0 && owner->select())
        alSourceStop(voice);
}

void AudioSource::setGain(float value) {
    if (!std::isfinite(value) || value < 0.0f)
        return;
    gain = value;
    if (voice != 0 && owner->select())
        alSourcef(voice, AL_GAIN, gain);
}

} // namespace torvel
