#pragma once

#include <cstdint>

// White noise from a fixed start value: the same value always gives the same
// samples, on every machine and library version, so baked sounds come out
// byte for byte the same.
class NoiseSource {
public:
    explicit NoiseSource(std::uint32_t startValue);

    // Next sample, evenly spread over [-1, 1).
    float next();

private:
    std::uint32_t state; // xorshift state, never zero
};
