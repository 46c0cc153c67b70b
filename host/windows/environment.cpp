#include "platform_seams.h"

#include "common/platform.h"

namespace ptbridge {

// Through Win32 rather than the C runtime's getenv, which Microsoft's C
// runtime deprecates.
std::string EnvironmentVariable(const char* name) {
    DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0)
        return "";
    std::string value(size, '\0');
    DWORD length = GetEnvironmentVariableA(name, &value[0], size);
    if (length >= size)
        return "";
    value.resize(length);
    return value;
}

} // namespace ptbridge
