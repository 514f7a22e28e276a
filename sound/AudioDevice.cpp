#include "AudioDevice.h"

#include <AL/alext.h>

#include <cstdlib>
#include <cstring>

namespace torvel {

namespace {
// The attributes of a context with or without the head-related filters; a
// device without the extension takes none.
void hrtfAttributes(ALCdevice* device, bool on, ALCint (&attributes)[3]) {
    attributes[0] = 0;
    if (alcIsExtensionPresent(device, "ALC_SOFT_HRTF") != ALC_TRUE)
        return;
    attributes[0] = ALC_HRTF_SOFT;
    attributes[1] = on ? ALC_TRUE : ALC_FALSE;
    attributes[2] = 0;
}
} // namespace

std::unique_ptr<AudioDevice> AudioDevice::openDefault(std::string& error, bool hrtf) {
    ALCdevice* device = alcOpenDevice(nullptr);
    if (!device) {
        error = "the default output cannot be opened";
        return nullptr;
    }
    // OpenAL Soft's silent output, which ALSOFT_DRIVERS=null chooses on a
    // machine without sound, is heard by no one: the filters would only cost
    // the mixer its time there, four times over on a clock sped up for tests.
    const char* drivers = std::getenv("ALSOFT_DRIVERS");
    if (drivers && std::strcmp(drivers, "null") == 0)
        hrtf = false;
    ALCint attributes[3];
    hrtfAttributes(device, hrtf, attributes);
    ALCcontext* context = alcCreateContext(device, attributes);
    if (!context || alcMakeContextCurrent(context) != ALC_TRUE) {
        error = "the audio device gives no playback context";
        if (context)
            alcDestroyContext(context);
        alcCloseDevice(device);
        return nullptr;
    }
    std::unique_ptr<AudioDevice> opened(new AudioDevice(device, context));
    // Refused filters would leave the library's crossfeed in their place,
    // which blurs the guns' stereo: plain panning instead.
    if (hrtf && !opened->isHrtfOn())
        opened->requestHrtf(false);
    return opened;
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

bool AudioDevice::requestHrtf(bool on) {
    if (alcIsExtensionPresent(device, "ALC_SOFT_HRTF") != ALC_TRUE)
        return false;
    auto reset = reinterpret_cast<ALCboolean(ALC_APIENTRY*)(ALCdevice*, const ALCint*)>(
        alcGetProcAddress(device, "alcResetDeviceSOFT"));
    if (reset == nullptr)
        return false;
    ALCint attributes[3];
    hrtfAttributes(device, on, attributes);
    if (reset(device, attributes) != ALC_TRUE)
        return false;
    // As at opening: a refusal means plain panning, not crossfeed.
    if (on && !isHrtfOn()) {
        hrtfAttributes(device, false, attributes);
        reset(device, attributes);
        return false;
    }
    return true;
}

bool AudioDevice::isHrtfOn() const {
    if (alcIsExtensionPresent(device, "ALC_SOFT_HRTF") != ALC_TRUE)
        return false;
    ALCint state = ALC_FALSE;
    alcGetIntegerv(device, ALC_HRTF_SOFT, 1, &state);
    return state == ALC_TRUE;
}

bool AudioDevice::makeCurrent() const {
    return alcGetCurrentContext() == context || alcMakeContextCurrent(context) == ALC_TRUE;
}

} // namespace torvel
