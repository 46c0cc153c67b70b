// The text of packaging/windows/ptbridge.gpd, compiled in by the build.
#pragma once

#include <string>

namespace ptbridge {

constexpr const char* DefaultDeviceName = "packaging/windows/ptbridge.gpd";

const std::string& DefaultDeviceText();

} // namespace ptbridge
