// A sound file as the sound layer meets it: decoded whole from its path,
// then mixed to one channel as for a sound placed in the world.
#include "DecodedSound.h"
#include "ScratchFolder.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ScratchFolder folder;
    const std::string path = folder.write("sound.wav", data, size);
    torvel::DecodedSound sound;
    std::string error;
    if (!torvel::DecodedSound::read(path, sound, error)) {
        if (!sound.getSamples().empty() || error.empty())
            std::abort();
        return 0;
    }
    if (sound.getChannels() <= 0 || sound.getSampleRate() <= 0 || sound.getFrames() == 0
        || sound.getSamples().size() > torvel::DecodedSound::maxSamples)
        std::abort();
    const torvel::DecodedSound mono = sound.mixedToMono();
    if (mono.getChannels() != 1 || mono.getFrames() != sound.getFrames())
        std::abort();
    return 0;
}
