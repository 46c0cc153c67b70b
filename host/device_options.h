// The device options a DEVMODE carries: each feature of the device holds its
// default option unless `--option Feature=Option` selects another. Selections
// are checked against the device before a DEVMODE is built, so that a typo is
// refused instead of silently giving the plug-in an option it does not know.
#pragma once

#include "device.h"
#include "host_devmode.h"

#include <string>
#include <vector>

namespace ptbridge {

// Parses "Feature=Option" arguments into selections. Refuses, with a message
// naming the argument: one not of that form, a feature or option the device
// does not have (the message lists the valid ones and suggests a near match),
// a feature given twice.
bool ParseDeviceOptions(const Device& device, const std::vector<std::string>& arguments,
                        std::vector<OptionSelection>* selections, std::string* error);

// What the DEVMODE holds: every feature of the device with its default
// option, replaced by the one `chosen` selects for it, in the device's order.
std::vector<OptionSelection> DevmodeSelections(const Device& device,
                                               const std::vector<OptionSelection>& chosen);

} // namespace ptbridge
