#include "platform_seams.h"

#include <climits>
#include <filesystem>
#include <unistd.h>

namespace ptbridge {

namespace {
std::string ExecutableDirectory() {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return {};
    std::string executable(path, static_cast<size_t>(length));
    size_t slash = executable.rfind('/');
    return slash == std::string::npos ? std::string() : executable.substr(0, slash);
}
} // namespace

std::string DefaultModulePath() {
    std::string directory = ExecutableDirectory();
    if (!directory.empty()) {
        for (const char* folder : {"", "/" PTBRIDGE_INSTALLED_MODULE_DIR}) {
            std::string candidate =
                std::filesystem::path(directory + folder + "/" + PTBRIDGE_MODULE_FILE_NAME)
                    .lexically_normal()
                    .string();
            if (access(candidate.c_str(), R_OK) == 0)
                return candidate;
        }
    }
    return PTBRIDGE_BUILT_MODULE_PATH;
}

} // namespace ptbridge
