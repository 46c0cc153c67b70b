// A temporary directory for the documents a measured command reads, removed
// with the files written into it.
#pragma once

#include <string>
#include <vector>

namespace ptbridge {

class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    // Writes a file into the directory; its path, or empty on failure.
    std::string Write(const std::string& name, const std::string& text);

  private:
    std::string path_;
    std::vector<std::string> files_;
};

} // namespace ptbridge
