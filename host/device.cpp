#include "device.h"

#include "default_device_text.h"
#include "gpd_reader.h"

namespace ptbridge {

const DeviceFeature* Device::FindFeature(const std::string& keyword) const {
    for (const DeviceFeature& feature : features) {
        if (feature.keyword == keyword)
            return &feature;
    }
    return nullptr;
}

const Device& DefaultDevice() {
    static const Device device = [] {
        // The built-in copy has no folder beside it: its includes, such as the
        // system's StdNames.gpd, are warnings that `info` and `check` show.
        GpdFileReader noFiles = [](const std::string& path, std::string*, std::string* error) {
            *error = "'" + path + "' is not part of the built-in device";
            return false;
        };
        Device read;
        std::string error;
        // The build reads the same file, so it cannot be malformed here; the
        // error, were it, would be the device's only warning.
        if (!ReadGpd(DefaultDeviceText(), DefaultDeviceName, noFiles, &read, &error))
            read.warnings = {error};
        read.source = std::string(DefaultDeviceName) + " (built in)";
        return read;
    }();
    return device;
}

} // namespace ptbridge
