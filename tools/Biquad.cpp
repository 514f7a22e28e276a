#include "Biquad.h"

#include <cmath>

Biquad::Biquad(Kind kind, double frequency, double q, double sampleRate)
    : kind(kind), q(q), sampleRate(sampleRate), b0(1), b1(0), b2(0), a1(0), a2(0), x1(0), x2(0), y1(0), y2(0)
{
    tune(frequency);
}

void Biquad::tune(double frequency)
{
    const double w = 2.0 * 3.14159265358979323846 * std::fmin(frequency, sampleRate * 0.49) / sampleRate;
    const double cosw = std::cos(w);
    const double alpha = std::sin(w) / (2.0 * q);
    const double a0 = 1.0 + alpha;
    switch (kind) {
    case Kind::LowPass:
        b0 = (1.0 - cosw) * 0.5;
        b1 = 1.0 - cosw;
        b2 = b0;
        break;
    case Kind::HighPass:
        b0 = (1.0 + cosw) * 0.5;
        b1 = -(1.0 + cosw);
        b2 = b0;
        break;
    case Kind::BandPass:
        b0 = alpha;
        b1 = 0.0;
        b2 = -alpha;
        break;
    }
    b0 /= a0;
    b1 /= a0;
    b2 /= a0;
    a1 = -2.0 * cosw / a0;
    a2 = (1.0 - alpha) / a0;
}

float Biquad::process(float input)
{
    const double output = b0 * input + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = input;
    y2 = y1;
    y1 = output;
    return static_cast<float>(output);
}
