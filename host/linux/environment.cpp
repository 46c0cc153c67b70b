#include "platform_seams.h"

#include <cstdlib>

namespace ptbridge {

std::string EnvironmentVariable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace ptbridge
