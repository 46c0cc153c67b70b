// The report of one run: time per call for every size, each conversion's time
// as a share of parsing the same document, the scaling exponent from 100 KB
// to 10 MB, the command's peak memory, whether the targets hold, and the
// command against the bounds set relative to xmllint and xsltproc.
#pragma once

#include "measurements.h"
#include "tool_comparison.h"

#include <cstddef>
#include <cstdio>
#include <vector>

namespace ptbridge {

// Peak resident memory of the ptbridge command on one capabilities document.
struct PeakMemory {
    size_t nominalBytes = 0;
    size_t documentBytes = 0;
    size_t peakBytes = 0; // 0 when the command failed
    size_t treeBytes = 0; // heap taken by the parsed document alone, in this process
};

// Targets: each conversion of a 1 MB document at most this share of its parse,
constexpr double ConversionToParseLimit = 0.5;
// a scaling exponent of at most this from 100 KB to 10 MB,
constexpr double ExponentLimit = 1.1;
// and the command's peak memory on 10 MB at most this many times the document.
constexpr double PeakMemoryLimit = 6.0;

// Bounds on the ptbridge capabilities command as a whole process: its CPU time
// at most this many times xmllint's parsing and saving the same document,
constexpr double XmllintBound = 1.5;
// at most this many times xsltproc's running the equivalent stylesheet,
constexpr double XsltprocBound = 0.5;
// its peak memory on 10 MB at most this many times the document,
constexpr double PeakMemoryBound = 8.0;
// and its CPU time on 10 MB at most this many times that on 1 MB.
constexpr double GrowthBound = 11.0;

// The slope of log(time) against log(size) over the sizes from 100 KB up;
// NaN with fewer than two of them measured.
double ScalingExponent(const Measurements& measurements, const std::string& row);

// Prints the report, with a verdict on each target and bound.
void PrintReport(const Measurements& measurements, const std::vector<PeakMemory>& peaks,
                 const ToolComparison& comparison, std::FILE* out);

} // namespace ptbridge
