// Runs a program as a child process and measures what it cost: wall time and
// peak resident memory.
//
// Linux carries a process's peak resident memory over an exec, and a child
// spawned from a large process starts with that process's peak. To measure a
// program's own peak, run it through the small ptbridge_peak_memory program,
// whose own peak is small: see MeasurePeakMemory.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace ptbridge {

struct ChildRun {
    bool started = false;
    int exitCode = -1;     // -1 when the child did not exit normally
    double seconds = 0;    // wall time
    double cpuSeconds = 0; // user and system CPU time of the child
    size_t peakBytes = 0;  // the child's maximum resident set size
};

// Runs arguments[0] (a path) with the other arguments. Its standard output
// goes to *output when given and is discarded otherwise; its standard error is
// discarded.
ChildRun RunChild(const std::vector<std::string>& arguments, std::string* output = nullptr);

// The path of the executable file `name` in a directory of PATH; empty when
// there is none.
std::string FindProgram(const std::string& name);

// The program's run through the peak-memory program at `measurerPath`, with
// the program's own peak memory.
ChildRun MeasurePeakMemory(const std::string& measurerPath,
                           const std::vector<std::string>& arguments);

} // namespace ptbridge
