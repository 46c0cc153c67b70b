// The device the host stands in for: the feature keywords its DEVMODE can
// carry and the option keywords each accepts. `--option Feature=Option` is
// checked against it before a DEVMODE is built, so that a typo is refused
// instead of silently giving the plug-in an option it does not know.
#pragma once

#include "host_devmode.h"

#include <string>
#include <vector>

namespace ptbridge {

struct DeviceFeature {
    std::string keyword;
    std::string meaning;              // one line for `ptbridge info`
    std::vector<std::string> options; // keywords, in the order they are listed
};

// The device's features, in the order they are listed.
const std::vector<DeviceFeature>& DeviceFeatures();

// Parses "Feature=Option" arguments into selections. Refuses, with a message
// naming the argument: one not of that form, an unknown feature or option (the
// message lists the valid ones and suggests a near match), a feature given
// twice.
bool ParseDeviceOptions(const std::vector<std::string>& arguments,
                        std::vector<OptionSelection>* selections, std::string* error);

} // namespace ptbridge
