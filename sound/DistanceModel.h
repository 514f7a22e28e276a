#pragma once

namespace torvel {

// How a positioned sound fades with its distance from the listener at the
// gun: OpenAL's clamped inverse distance model,
//   gain = reference / (reference + rolloff * (distance - reference)),
// with the distance held between reference and maxDistance.
//
// A jet passes the gun no closer than 50 units and is heard from about 2000
// units away. Full loudness up to 100 units keeps a close pass from blasting;
// a rolloff of 0.75, gentler than the physical 1, leaves a jet at the far end
// of its path about 24 dB down, faint but audible, while a jet at 300 units
// is still three times as loud as one at 1000. Beyond 4000 units (longer than
// any path) the sound fades no further.
class DistanceModel {
public:
    static constexpr float referenceDistance = 100.0f;
    static constexpr float rolloff = 0.75f;
    static constexpr float maxDistance = 4000.0f;

    // strength stretches the distances a sound carries: 2 fades half as fast.
    // A strength that is not a positive number counts as 1.
    static float rolloffFor(float strength);
    // The gain OpenAL applies to a sound at this distance.
    static float gain(float distance, float strength = 1.0f);
};

} // namespace torvel
