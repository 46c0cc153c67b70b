// Reading the command's input file and writing its output file: every failure
// comes back as a message that names the file and the problem. Paths are UTF-8.
#pragma once

#include <string>

// Reads a whole file.
bool ReadTextFile(const std::string& path, std::string* text, std::string* error);

// Writes the command's output document to `path` without harming what is
// there: "-" is standard output (see standard_output.h); a regular file, or a name that does not
// exist yet, is replaced through a temporary file in its folder only once the text is complete,
// keeping the old file's mode (and, where allowed, owner and group); a symbolic link is written
// through to the file it names; anything else (device, FIFO, console) is opened and written in
// place, never replaced or created. On failure the old target is left as it was.
bool WriteOutputFile(const std::string& path, const std::string& text, std::string* error);
