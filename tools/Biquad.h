#pragma once

// A second-order filter section (the usual audio cookbook designs), run one
// sample at a time. The cut-off may be changed between samples, which the
// fly-by needs as the air swallows more treble with distance.
class Biquad {
public:
    enum class Kind { LowPass, HighPass, BandPass };

    Biquad(Kind kind, double frequency, double q, double sampleRate);

    // New corner frequency; keeps the filter's memory, so no click.
    void tune(double frequency);
    float process(float input);

private:
    Kind kind;             // response shape
    double q;              // resonance; for the band pass, its sharpness
    double sampleRate;     // samples per second
    double b0, b1, b2;     // feed-forward coefficients, normalised
    double a1, a2;         // feedback coefficients, normalised
    double x1, x2, y1, y2; // last two inputs and outputs
};
