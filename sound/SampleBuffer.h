#pragma once

#include <memory>
#include <string>

namespace torvel {

class DecodedSound;

// The decoded samples of one sound file, held by the audio device and shared
// by every source made from that file. A file with more than one channel also
// gets a mono mix, which is what positioned playback uses.
// Needs the device's context to be current when made and when destroyed.
class SampleBuffer {
public:
    // Null with a reason in error if the device refuses the samples.
    static std::shared_ptr<SampleBuffer> upload(const DecodedSound& sound, std::string& error);
    ~SampleBuffer();

    SampleBuffer(const SampleBuffer&) = delete;
    SampleBuffer& operator=(const SampleBuffer&) = delete;

    unsigned int getBuffer() const { return buffer; }
    unsigned int getMonoBuffer() const { return monoBuffer != 0 ? monoBuffer : buffer; }
    int getSampleRate() const { return sampleRate; }
    double getSeconds() const { return sampleRate > 0 ? double(frames) / sampleRate : 0.0; }
    std::size_t getBytes() const { return bytes; }

private:
    SampleBuffer() = default;

    unsigned int buffer = 0;      // OpenAL buffer as the file sounds (mono or stereo)
    unsigned int monoBuffer = 0;  // OpenAL buffer of the mono mix; 0 when the file is mono already
    int sampleRate = 0;           // frames per second
    std::size_t frames = 0;       // length in frames
    std::size_t bytes = 0;        // sample memory held by the device for this file
};

} // namespace torvel
