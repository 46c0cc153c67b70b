// Reads a device from a GPD file: the features, their options, *DefaultOption,
// *PrintSchemaPrivateNamespaceURI and *PrintSchemaKeywordMap; every other entry
// is passed over together with its braces. A GPD is a line format: "*Name:
// value" entries, values bare or in double quotes, "{ ... }" blocks that nest,
// comments from "*%" to the end of the line, and "*Include:" entries that name
// another GPD file, read beside the file that includes it.
#pragma once

#include "device.h"

#include <functional>
#include <string>

namespace ptbridge {

// Reads the file at `path` into *text; false, with a message naming the file
// and the problem, when it cannot.
using GpdFileReader =
    std::function<bool(const std::string& path, std::string* text, std::string* error)>;

// Reads the GPD `text`, which came from `path`, into *device. Includes are read
// through `readFile`; one that cannot be read is a warning in device->warnings
// that names it, and the rest of the file is still read. A malformed GPD gives
// false and one message, "PATH:LINE: " and what was expected there.
bool ReadGpd(const std::string& text, const std::string& path, const GpdFileReader& readFile,
             Device* device, std::string* error);

} // namespace ptbridge
