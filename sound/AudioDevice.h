#pragma once

#include <AL/alc.h>

#include <memory>
#include <string>

namespace torvel {

// The output device and the one OpenAL context the sound layer plays on.
// OpenAL Soft mixes on a thread of its own from here on.
class AudioDevice {
public:
    // The system's default output. Null, with a reason in error, when there
    // is no device or it cannot take a context. hrtf asks for OpenAL Soft's
    // head-related filters (ALC_SOFT_HRTF), which tell a sound ahead from one
    // behind; the library grants them only to a stereo or headphone output.
    static std::unique_ptr<AudioDevice> openDefault(std::string& error, bool hrtf = true);
    // Destroys the context and closes the device (which also finishes the
    // file of a recording backend).
    ~AudioDevice();

    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // Makes this device's context the one OpenAL calls go to. Cheap when it
    // is current already, which is always the case with a single manager.
    bool makeCurrent() const;

    // Asks for the head-related filters or for plain stereo panning, the
    // output reset in place; false when the device cannot be asked.
    bool requestHrtf(bool on);
    // Whether the output mixes through the head-related filters now.
    bool isHrtfOn() const;

    const std::string& getName() const { return name; }
    int getOutputRate() const { return outputRate; }

private:
    AudioDevice(ALCdevice* device, ALCcontext* context);

    ALCdevice* device;    // the opened output
    ALCcontext* context;  // listener and sources live here
    std::string name;     // as the backend names the device
    int outputRate = 0;   // mixing rate in frames per second
};

} // namespace torvel
