// The device's output bins that the Print Schema announces by bin type: each
// private option name of "JobOutputBin" paired with its bin type.
#pragma once

#include "common/platform.h"

#include <cstddef>

namespace ptbridge {

struct OutputBinType {
    // References to the namespace constants, so the table needs no dynamic
    // initialisation and can be read during any other static initialisation.
    const WCHAR* const& optionNamespace;
    const WCHAR* optionName;
    const WCHAR* const& binTypeNamespace;
    const WCHAR* binTypeName;
};

constexpr size_t OutputBinTypeCount = 2;
extern const OutputBinType OutputBinTypeMap[OutputBinTypeCount];

} // namespace ptbridge
