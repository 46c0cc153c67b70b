// What the plug-in needs from the device: the option keywords it reads through
// IPrintCoreHelper::GetOption (PunchHole's hole counts, Punch's NONE), the
// output bins it names (Center, Finisher), the private feature it publishes and
// the private namespace the core driver names that feature in.
#pragma once

#include "conversion_diagnosis.h"
#include "device.h"

#include <string>
#include <vector>

namespace ptbridge {

// `pluginNamespace` is the plug-in's namespace, as BindPrinter reported it.
std::vector<Requirement> ReadDeviceRequirements(const Device& device,
                                                const std::string& pluginNamespace);

} // namespace ptbridge
