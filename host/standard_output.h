// The command's standard output: everything it prints there goes through
// WriteStandardOutput, byte for byte, and FinishStandardOutput checks before
// the process exits that all of it arrived.
#pragma once

#include <string>

// Writes `text` to standard output. A failure is kept for FinishStandardOutput;
// nothing more is written after one.
void WriteStandardOutput(const std::string& text);

// Flushes standard output, including what the C and C++ libraries hold, and
// gives the process's exit status: `status` when everything was written or the
// reader went away (a broken pipe ends quietly), otherwise ExitUsageOrInput
// after one line on stderr that names the reason.
int FinishStandardOutput(int status);
