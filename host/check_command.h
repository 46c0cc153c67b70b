// `ptbridge check`: every requirement of every conversion that applies to each
// document, and of the device, each met or not, with the warnings where the
// plug-in's matching by text would act on something the author did not mean.
#pragma once

#include "cli_commands.h"

#include <string>
#include <vector>

namespace ptbridge {

struct CheckSettings {
    std::vector<std::string> files; // "-" is standard input; none: the device alone
    std::string command;            // "ticket", "capabilities" or "devmode"; empty: all that apply
    bool json = false;              // one JSON object a line, one per document
};

// Exit status: 0 when each document is ready for a conversion that applies
// and the device has what the plug-in needs; 1 otherwise; 2 when a document
// or the device cannot be used; 3 when the module cannot be loaded.
int RunCheck(const CheckSettings& check, const CommandSettings& settings);

} // namespace ptbridge
