#include "measurements.h"

#include <algorithm>

namespace ptbridge {

void Measurements::Add(const std::string& row, size_t nominalBytes, size_t bytes, double seconds) {
    Samples& samples = rows_[row][nominalBytes];
    samples.bytes = bytes;
    samples.seconds.push_back(seconds);
}

const Measurements::Samples* Measurements::Find(const std::string& row, size_t nominalBytes) const {
    auto sizes = rows_.find(row);
    if (sizes == rows_.end())
        return nullptr;
    auto samples = sizes->second.find(nominalBytes);
    return samples == sizes->second.end() ? nullptr : &samples->second;
}

double Measurements::Median(const std::string& row, size_t nominalBytes) const {
    const Samples* samples = Find(row, nominalBytes);
    if (!samples || samples->seconds.empty())
        return 0;
    std::vector<double> sorted = samples->seconds;
    size_t middle = sorted.size() / 2;
    std::nth_element(sorted.begin(), sorted.begin() + middle, sorted.end());
    return sorted[middle];
}

size_t Measurements::Bytes(const std::string& row, size_t nominalBytes) const {
    const Samples* samples = Find(row, nominalBytes);
    return samples ? samples->bytes : 0;
}

} // namespace ptbridge
