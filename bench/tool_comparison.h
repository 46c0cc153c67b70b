// The ptbridge capabilities command against two tools that do comparable work
// on the same document: xmllint parsing and saving it, and xsltproc running a
// stylesheet that makes the plug-in's edits. Each command writes its output to
// a file and is timed in CPU time of the whole process, in rounds that
// alternate the commands, so that load on a shared machine falls on all alike.
#pragma once

#include "document_set.h"
#include "measurements.h"
#include "scratch_directory.h"

#include <string>

namespace ptbridge {

// The sizes compared: the first and the last divide into the command's growth.
constexpr size_t ComparedSizes[] = {1024 * KiB, 10 * 1024 * KiB};
// Measured rounds; each command runs once per round and size.
constexpr int ComparisonRounds = 9;

// Rows of ToolComparison::times.
const char* const CommandToFileRow = "ptbridge capabilities -o OUT";
const char* const XmllintRow = "xmllint --output OUT";
const char* const XsltprocRow = "xsltproc -o OUT";

// A compared program: where it is, and what went wrong when it was run.
struct ComparedProgram {
    std::string path;    // empty when a tool is not on PATH
    std::string problem; // empty when every run succeeded
};

struct ToolComparison {
    Measurements times; // CPU seconds by row and nominal size
    ComparedProgram command;
    ComparedProgram xmllint;
    ComparedProgram xsltproc;
    // xsltproc's output was the command's document at every size.
    bool stylesheetMatches = false;
};

// Runs the comparison on the capabilities documents of ComparedSizes, with the
// tools found on PATH.
ToolComparison CompareWithTools(const std::string& commandPath, const std::string& stylesheetPath,
                                DocumentSet& documents, ScratchDirectory& scratch);

} // namespace ptbridge
