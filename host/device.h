// The device the host stands in for, as its GPD describes it: the features the
// DEVMODE can carry, their options and defaults, the keywords they are mapped
// to in Print Schema documents, and the private namespace the core driver puts
// the unmapped ones in.
#pragma once

#include <string>
#include <vector>

namespace ptbridge {

struct DeviceOption {
    std::string keyword;
    std::string keywordMap; // *PrintSchemaKeywordMap, empty when there is none
};

struct DeviceFeature {
    std::string keyword;
    std::string keywordMap;    // *PrintSchemaKeywordMap, empty when there is none
    std::string defaultOption; // *DefaultOption, else the first option
    std::vector<DeviceOption> options;
    std::string place; // "FILE:LINE" of its *Feature entry
};

struct Device {
    std::string source;           // where it was read from, for `info` and `check`
    std::string privateNamespace; // *PrintSchemaPrivateNamespaceURI, empty when there is none
    std::vector<DeviceFeature> features;
    // What was read but could not be used, each a line such as a missing include.
    std::vector<std::string> warnings;

    const DeviceFeature* FindFeature(const std::string& keyword) const;
};

// The device described by packaging/windows/ptbridge.gpd, compiled into the
// host so that every build and install of the command has it.
const Device& DefaultDevice();

} // namespace ptbridge
