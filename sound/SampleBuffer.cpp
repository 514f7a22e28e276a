#include "SampleBuffer.h"

#include "DecodedSound.h"

#include <AL/al.h>

namespace torvel {

namespace {

// Hands 16-bit mono or stereo samples to a new OpenAL buffer; 0 on failure.
ALuint makeBuffer(const DecodedSound& sound) {
    const ALenum format = sound.getChannels() == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    alGetError();
    ALuint id = 0;
    alGenBuffers(1, &id);
    if (alGetError() != AL_NO_ERROR)
        return 0;
    alBufferData(id, format, sound.getSamples().data(),
                 static_cast<ALsizei>(sound.getSamples().size() * sizeof(std::int16_t)), sound.getSampleRate());
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &id);
        return 0;
    }
    return id;
}

} // namespace

std::shared_ptr<SampleBuffer> SampleBuffer::upload(const DecodedSound& sound, std::string& error) {
    std::shared_ptr<SampleBuffer> result(new SampleBuffer());
    result->sampleRate = sound.getSampleRate();
    result->frames = sound.getFrames();
    const std::size_t bytesPerCopy = sound.getSamples().size() * sizeof(std::int16_t);
    if (sound.getChannels() == 1) {
        result->buffer = makeBuffer(sound);
        result->bytes = bytesPerCopy;
    } else {
        const DecodedSound mono = sound.mixedToMono();
        const std::size_t monoBytes = mono.getSamples().size() * sizeof(std::int16_t);
        if (sound.getChannels() == 2) {
            result->buffer = makeBuffer(sound);
            result->monoBuffer = makeBuffer(mono);
            result->bytes = bytesPerCopy + monoBytes;
        } else {
            // OpenAL takes only mono and stereo; wider files play as their mono mix everywhere.
            result->buffer = makeBuffer(mono);
                result->bytes = monoBytes;
        }
    }
    if (result->buffer == 0 || (sound.getChannels() == 2 && result->monoBuffer == 0)) {
        error = "the audio device refused the samples";
        return nullptr;
    }
    return result;
}

SampleBuffer::~SampleBuffer() {
    if (monoBuffer != 0)
        alDeleteBuffers(1, &monoBuffer);
    if (buffer != 0)
        alDeleteBuffers(1, &buffer);
}

} // namespace torvel
