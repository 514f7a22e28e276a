#include "AudioDevice.h"

namespace torvel {

std::unique_ptr<AudioDevice> AudioDevice::openDefault(std::string& error) {
    ALCdevice* device = alcOpenDevice(nullptr);
    if (!device) {
        error = "the default output cannot be opened";
        return nullptr;
    }
    ALCcontext* context = alcCreateContext(device, nullptr);
    if (!context || alcMakeContextCurrent(context) != ALC_TRUE) {
        error = "the audio device gives no playback context";
        if (context)
            alcDestroyContext(context);
        alcCloseDevice(device);
        return nullptr;
    }
    return std::unique_ptr<AudioDevice>(new AudioDevice(device, context));
}

AudioDevice::AudioDevice(ALCdevice* device, ALCcontext* context) : device(device), context(context) {
    const ALCchar* specifier = alcGetString(device, ALC_DEVICE_SPECIFIER);
    name = specifier ? specifier : "unnamed device";
    ALCint rate = 0;
    alcGetIntegerv(device, ALC_FREQUENCY, 1, &rate);
    outputRate = rate;
}

AudioDevice::~AudioDevice() {
    if (alcGetCurrentContext() == context)
        alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
    alcCloseDevice(device);
}

bool AudioDevice::makeCurrent() const {
    return alcGetCurrentContext() == context || alcMakeContextCurrent(context) == ALC_TRUE;
}

} // namespace torvel
