// Reading the command's input file and writing its output file: every failure
// comes back as a message that names the file and the problem. Paths are UTF-8.
#pragma once

#include <string>

// Reads a whole file.
bool ReadTextFile(const std::string& path, std::string* text, std::string* error);

// Writes `text` to `path` through a temporary file in the same folder that
// replaces `path` only once it is complete, so a failure never leaves a
// half-written file behind.
bool WriteFileAtomically(const std::string& path, const std::string& text, std::string* error);
