// A temporary directory for the documents a measured command reads and writes,
// removed with the files in it.
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
    // The path of a file in the directory that a measured command writes;
    // removed with the others. Empty when there is no directory.
    std::string Path(const std::string& name);

  private:
    std::string path_;
    std::vector<std::string> files_;
};

} // namespace ptbridge
