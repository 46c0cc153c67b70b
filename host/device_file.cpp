#include "device_file.h"

#include "cli_commands.h"
#include "gpd_reader.h"
#include "platform_seams.h"

namespace ptbridge {

bool LoadDevice(const std::string& path, Device* device, std::string* error) {
    if (path.empty()) {
        *device = DefaultDevice();
        return true;
    }
    std::string text;
    if (!ReadTextFile(path, &text, error))
        return false;
    return ReadGpd(text, path, ReadTextFile, device, error);
}

void ReportDeviceWarnings(const Device& device) {
    for (const std::string& warning : device.warnings)
        ReportError("warning: " + warning);
}

} // namespace ptbridge
