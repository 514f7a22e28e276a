#include "AudioManager.h"

#include "AudioDevice.h"
#include "AudioSource.h"
#include "DecodedSound.h"
#include "DistanceModel.h"
#include "SampleBuffer.h"
#include "SoundLog.h"
#include "WorldAxes.h"

#include <AL/al.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace torvel {

namespace {

ALint stateOf(ALuint voice) {
    ALint state = AL_STOPPED;
    alGetSourcei(voice, AL_SOURCE_STATE, &state);
    return state;
}

std::string describe(const std::string& path, const SampleBuffer& samples, int fileChannels) {
    char text[160];
    std::snprintf(text, sizeof text, ": %d channel%s, %d Hz, %.2f s, %zu bytes%s", fileChannels,
                  fileChannels == 1 ? "" : "s", samples.getSampleRate(), samples.getSeconds(), samples.getBytes(),
                  fileChannels > 2 ? " (plays as its mono mix)" : "");
    return "Loaded " + path + text;
}

std::string counted(std::size_t n, const char* thing) {
    return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
}

// Different spellings of one file ("../res/a.wav", "./../res/a.wav") share one decoded copy.
std::string fileKey(const std::string& path) {
    std::error_code error;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, error);
    return error || canonical.empty() ? path : canonical.string();
}

} // namespace

AudioManager* AudioManager::create(bool initializeDefault, const std::string& logFile) {
    return new AudioManager(initializeDefault, logFile);
}

AudioManager* createAudioManager(bool initializeDefault, const std::string& logFile) {
    return AudioManager::create(initializeDefault, logFile);
}

AudioManager::AudioManager(bool initializeDefault, const std::string& logFile)
    : log(new SoundLog(logFile)) {
    log->write("Sound service started");
    if (!initializeDefault) {
        log->write("No audio device opened (none asked for): the game runs without sound");
        return;
    }
    std::string error;
    device = AudioDevice::openDefault(error);
    if (!device) {
        log->write("No audio device: " + error + "; the game runs without sound");
        return;
    }
    // The listener stays at its default place, the origin, where the gun stands;
    // it faces along the view once the game sets its orientation.
    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    char text[200];
    std::snprintf(text, sizeof text, "Audio device opened: %s, %d Hz, OpenAL %s, head-related filters %s",
                  device->getName().c_str(), device->getOutputRate(),
                  alGetString(AL_VERSION) ? alGetString(AL_VERSION) : "", device->isHrtfOn() ? "on" : "off");
    log->write(text);
    std::snprintf(text, sizeof text,
                  "Positioned sound: full loudness within %.0f units, gain %.3f at 300, %.3f at 1000, %.3f at 2000",
                  DistanceModel::referenceDistance, DistanceModel::gain(300.0f), DistanceModel::gain(1000.0f),
                  DistanceModel::gain(2000.0f));
    log->write(text);
}

AudioManager::~AudioManager() {
    shutDown();
    for (AudioSource* source : sources)
        delete source;
}

AudioSource* AudioManager::create(const std::string& name, const std::string& path, bool) {
    std::shared_ptr<SampleBuffer> samples = shutDownDone ? nullptr : samplesFor(path);
    sources.push_back(new AudioSource(this, name, std::move(samples)));
    return sources.back();
}

AudioSource* AudioManager::create(const char* name, const std::string& path, bool stream) {
    return create(std::string(name ? name : ""), path, stream);
}

std::shared_ptr<SampleBuffer> AudioManager::samplesFor(const std::string& path) {
    const std::string key = fileKey(path);
    const auto known = samplesByPath.find(key);
    if (known != samplesByPath.end())
        return known->second;
    std::shared_ptr<SampleBuffer> samples;
    if (!device) {
        log->write("Not loaded " + path + ": no audio device");
    } else {
        DecodedSound sound;
        std::string error;
        if (DecodedSound::read(path, sound, error) && select())
            samples = SampleBuffer::upload(sound, error);
        if (samples)
            log->write(describe(path, *samples, sound.getChannels()));
        else
            log->write("Could not load " + path + ": " + error + "; it stays silent");
    }
    samplesByPath.emplace(key, samples);
    return samples;
}

bool AudioManager::hasDevice() const {
    return device != nullptr;
}

std::size_t AudioManager::getLoadedFileCount() const {
    return static_cast<std::size_t>(std::count_if(samplesByPath.begin(), samplesByPath.end(),
                                                  [](const auto& entry) { return entry.second != nullptr; }));
}

bool AudioManager::select() const {
    return device && device->makeCurrent();
}

void AudioManager::reclaimFinishedVoices() {
    auto finished = [](AudioSource* source) {
        const ALint state = stateOf(source->voice);
        if (state == AL_PLAYING || state == AL_PAUSED)
            return false;
        alDeleteSources(1, &source->voice);
        source->voice = 0;
        return true;
    };
    voiced.erase(std::remove_if(voiced.begin(), voiced.end(), finished), voiced.end());
}

bool AudioManager::prepareVoice(AudioSource& source) {
    if (shutDownDone || !select())
        return false;
    if (source.voice != 0) {
        // Restarting a source that may still sound: its voice must stop before it takes a buffer.
        alSourceStop(source.voice);
        alSourcei(source.voice, AL_BUFFER, 0);
        return true;
    }
    reclaimFinishedVoices();
    alGetError();
    ALuint voice = 0;
    alGenSources(1, &voice);
    if (alGetError() != AL_NO_ERROR || voice == 0) {
        if (!voiceShortageLogged) {
            char text[120];
            std::snprintf(text, sizeof text, "No free voice for %s with %zu playing; such sounds are skipped",
                          source.getName().c_str(), voiced.size());
            log->write(text);
        }
        voiceShortageLogged = true;
        return false;
    }
    source.voice = voice;
    voiced.push_back(&source);
    peakVoices = std::max(peakVoices, voiced.size());
    return true;
}

void AudioManager::giveBackVoice(AudioSource& source) {
    if (source.voice == 0 || !select())
        return;
    alSourceStop(source.voice);
    alDeleteSources(1, &source.voice);
    source.voice = 0;
    voiced.erase(std::remove(voiced.begin(), voiced.end(), &source), voiced.end());
}

void AudioManager::setListenerOrientation(const float forward[3], const float up[3]) {
    auto usable = [](const float v[3]) {
        return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]) &&
               v[0] * v[0] + v[1] * v[1] + v[2] * v[2] > 1e-12f;
    };
    if (!usable(forward) || !usable(up) || shutDownDone || !select())
        return;
    float at[6];
    WorldAxes::toOpenAl(forward[0], forward[1], forward[2], at);
    WorldAxes::toOpenAl(up[0], up[1], up[2], at + 3);
    alListenerfv(AL_ORIENTATION, at);
}

void AudioManager::setVolume(float gain) {
    volume = gain > 0.0f ? (gain < 1.0f ? gain : 1.0f) : 0.0f;
    if (shutDownDone || !select())
        return;
    alListenerf(AL_GAIN, volume);
}

bool AudioManager::setHrtf(bool on) {
    if (shutDownDone || !device)
        return false;
    device->requestHrtf(on);
    const bool now = device->isHrtfOn();
    log->write(std::string("Head-related filters ") + (now ? "on" : "off") + (now == on ? "" : " (as the output allows)"));
    return now;
}

bool AudioManager::isHrtfOn() const {
    return device && !shutDownDone && device->isHrtfOn();
}

void AudioManager::pauseAll() {
    if (paused)
        return;
    paused = true;
    if (shutDownDone || !select())
        return;
    for (AudioSource* source : voiced)
        if (stateOf(source->voice) == AL_PLAYING)
            alSourcePause(source->voice);
}

void AudioManager::resumeAll() {
    if (!paused)
        return;
    paused = false;
    // Nothing but pauseAll pauses a voice: the paused ones are those it held.
    if (!shutDownDone && select())
        for (AudioSource* source : voiced)
            if (stateOf(source->voice) == AL_PAUSED)
                alSourcePlay(source->voice);
}

void AudioManager::shutDown() {
    if (shutDownDone)
        return;
    shutDownDone = true;
    const std::size_t fileCount = getLoadedFileCount();
    if (select()) {
        for (AudioSource* source : voiced) {
            alSourceStop(source->voice);
            alDeleteSources(1, &source->voice);
            source->voice = 0;
        }
    }
    voiced.clear();
    // Buffers go while the context is still current: the last reference frees them.
    for (AudioSource* source : sources)
        source->samples.reset();
    samplesByPath.clear();
    device.reset();
    log->write("Shut down: " + counted(sources.size(), "source") + " stopped, " + counted(fileCount, "sound file") +
               " freed; at most " + counted(peakVoices, "voice") + " played at once");
}

} // namespace torvel
