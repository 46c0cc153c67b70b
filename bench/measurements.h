// Times per call gathered by the benchmarks, one sample per timed iteration,
// kept by row (an operation on a kind of document) and nominal size.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace ptbridge {

class Measurements {
  public:
    void Add(const std::string& row, size_t nominalBytes, size_t bytes, double seconds);
    // A benchmark that could not do its work (a conversion or parse that failed).
    void AddFailure() { ++failures_; }
    int Failures() const { return failures_; }

    // The median of the samples, robust against the odd iteration that another
    // process on the machine slowed down; 0 when there is none.
    double Median(const std::string& row, size_t nominalBytes) const;
    // The exact size of the document measured; 0 when there is none.
    size_t Bytes(const std::string& row, size_t nominalBytes) const;

  private:
    struct Samples {
        size_t bytes = 0;
        std::vector<double> seconds;
    };
    const Samples* Find(const std::string& row, size_t nominalBytes) const;

    std::map<std::string, std::map<size_t, Samples>> rows_;
    int failures_ = 0;
};

} // namespace ptbridge
