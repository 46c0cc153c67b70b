#include "platform_seams.h"

#include "common/platform.h"
#include "text_encoding.h"

#include <vector>

namespace ptbridge {

namespace {
// The folder of the running executable, with a trailing separator; empty when
// it cannot be found.
std::u16string ExecutableFolder() {
    std::vector<char16_t> path(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, reinterpret_cast<LPWSTR>(path.data()),
                                          static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            std::u16string executable(path.data(), length);
            size_t separator = executable.find_last_of(u"\\/");
            return separator == std::u16string::npos ? std::u16string()
                                                     : executable.substr(0, separator + 1);
        }
        path.resize(path.size() * 2);
    }
}
} // namespace

std::string DefaultModulePath() {
    std::u16string folder = ExecutableFolder();
    if (!folder.empty()) {
        std::string name = PTBRIDGE_MODULE_FILE_NAME;
        std::u16string beside = folder + std::u16string(name.begin(), name.end());
        if (GetFileAttributesW(reinterpret_cast<LPCWSTR>(beside.c_str())) !=
            INVALID_FILE_ATTRIBUTES)
            return Utf8FromUtf16(beside);
    }
    return PTBRIDGE_BUILT_MODULE_PATH;
}

} // namespace ptbridge
