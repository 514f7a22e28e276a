#pragma once

#include <cstddef>
#include <vector>

// Collects timing samples (milliseconds) and gives the figures the benchmark
// reports. Percentiles are nearest-rank: the value below which at least that
// share of the samples lie, always one of the samples themselves.
class SampleStats {
public:
    void add(double sample) { samples.push_back(sample); }
    void clear() { samples.clear(); }

    std::size_t count() const { return samples.size(); }
    // The middle sample, or the mean of the two middle ones; 0 without samples.
    double median() const;
    // Nearest-rank percentile for share in (0, 1]; 0 without samples.
    double percentile(double share) const;
    double p95() const { return percentile(0.95); }
    double mean() const;

private:
    std::vector<double> sorted() const;

    std::vector<double> samples;   // in the order they were taken
};
