// The temporary file an output is written to before it replaces its target.
// While it exists, SIGINT, SIGTERM and SIGHUP remove it before the process
// ends with the signal, as it would have ended without the command's handler;
// a signal the process ignores stays ignored.
#pragma once

#include <string>

namespace ptbridge {

class TemporaryFile {
  public:
    TemporaryFile() = default;
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Creates a new file beside `target`, named after it with six random
    // characters added ("OUT.XXXXXX"), the name shortened where that would
    // pass the folder's limit on name length. Returns its descriptor, or -1
    // with errno set. Only one temporary file exists at a time.
    int Create(const std::string& target);
    // Renames the file, once created, over `target`; false with errno set
    // when it cannot be.
    bool Replace(const std::string& target);
    // Removes the file; nothing when there is none.
    void Remove();

  private:
    bool exists_ = false;
};

} // namespace ptbridge
