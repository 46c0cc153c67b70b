// The device a command stands in for: the GPD named by --device, or the
// built-in one.
#pragma once

#include "device.h"

#include <string>

namespace ptbridge {

// Reads the device from `path`, or gives the built-in device when `path` is
// empty. False, with one message naming the file, line and what was expected,
// when the GPD cannot be read or is malformed.
bool LoadDevice(const std::string& path, Device* device, std::string* error);

// Reports the device's warnings on standard error, one line each.
void ReportDeviceWarnings(const Device& device);

} // namespace ptbridge
