#include "scratch_directory.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace ptbridge {

ScratchDirectory::ScratchDirectory() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/ptbridge-bench-XXXXXX";
    if (mkdtemp(pattern.data()))
        path_ = pattern;
}

ScratchDirectory::~ScratchDirectory() {
    for (const std::string& file : files_)
        std::remove(file.c_str());
    if (!path_.empty())
        rmdir(path_.c_str());
}

std::string ScratchDirectory::Path(const std::string& name) {
    if (path_.empty())
        return {};
    std::string file = path_ + "/" + name;
    files_.push_back(file);
    return file;
}

std::string ScratchDirectory::Write(const std::string& name, const std::string& text) {
    std::string file = Path(name);
    if (file.empty())
        return {};
    std::ofstream stream(file, std::ios::binary);
    stream << text;
    return stream.flush() ? file : std::string();
}

} // namespace ptbridge
