#include "module_path.h"

#include <climits>
#include <unistd.h>

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
        std::string beside = directory + "/" + PTBRIDGE_MODULE_FILE_NAME;
        if (access(beside.c_str(), R_OK) == 0)
            return beside;
    }
    return PTBRIDGE_BUILT_MODULE_PATH;
}
