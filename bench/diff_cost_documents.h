// The documents on which `ptbridge --diff` is measured against the same
// command without it: the benchmark documents of 10 MB, and the shapes that
// cost the diff most, with their bulk between the conversion's first and last
// edits so that the diff has to compare all of it.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ptbridge {

struct DiffCostCase {
    std::string name;    // as the report shows it
    std::string command; // ticket, capabilities or devmode
    int exitCode;        // the command's exit status, with --diff or without
    // Makes the document when it is measured, so that one large document is
    // held at a time. Empty when a sample cannot be read.
    std::function<std::string()> document;
};

// The cases, with the bulky shapes built from the samples in `examplesDir`.
std::vector<DiffCostCase> DiffCostCases(const std::string& examplesDir);

} // namespace ptbridge
