#include "plugin/private_devmode.h"

#include <algorithm>
#include <cstring>

namespace ptbridge {

void WriteDefaultPrivateDevmode(OemPrivateDevmode* section) {
    section->dmOEMExtra.dwSize = PrivateDevmodeSize;
    section->dmOEMExtra.dwSignature = PrivateDevmodeSignature;
    section->dmOEMExtra.dwVersion = PrivateDevmodeVersion;
}

bool ConvertPrivateDevmode(const OemPrivateDevmode* in, OemPrivateDevmode* out) {
    if (!in || !out)
        return false;
    if (in->dmOEMExtra.dwSignature != out->dmOEMExtra.dwSignature) {
        WriteDefaultPrivateDevmode(out);
        return true;
    }
    // Both sizes come from the host's buffers and may claim more than a section
    // holds; never copy past the 12 bytes the host sized the buffers for.
    size_t bytes = std::min({size_t(in->dmOEMExtra.dwSize), size_t(out->dmOEMExtra.dwSize),
                             size_t(PrivateDevmodeSize)});
    std::memmove(out, in, bytes);
    out->dmOEMExtra.dwSize = PrivateDevmodeSize;
    out->dmOEMExtra.dwVersion = PrivateDevmodeVersion;
    return true;
}

} // namespace ptbridge
