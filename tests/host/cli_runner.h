// Runs the built ptbridge command as a separate process and captures what it
// prints, for tests of the command as a user meets it.
#pragma once

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

struct CliRun {
    int exitCode = -1; // -1 when the process did not exit normally
    int signal = 0;    // the signal that ended it, 0 when none did
    std::string out;
    std::string err;
};

// A scratch folder, removed with everything in it when the object goes.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    // Writes a file in the folder and returns its path.
    std::string Write(const std::string& name, const std::string& text) const;
    // Names of the files in the folder.
    std::vector<std::string> Entries() const;

  private:
    std::string path_;
};

// Where the command's standard streams come from and go to; standard error is
// always captured into CliRun::err.
struct CliStreams {
    std::string stdinPath = "/dev/null"; // file opened as standard input
    std::string stdoutPath;              // empty: captured into CliRun::out
    // Called with the process's id once it runs, before it is waited for.
    std::function<void(pid_t)> whileRunning;
};

// Runs `ptbridge args...` in `workingDirectory` (the test's own when empty).
CliRun RunCli(const std::vector<std::string>& args, const std::string& workingDirectory = "",
              const CliStreams& streams = {});
// The same with another copy of the executable.
CliRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                  const std::string& workingDirectory = "", const CliStreams& streams = {});
// Runs `ptbridge args...` with standard output a pipe whose reader is already
// gone, as in `ptbridge ... | head -1` once head has quit.
CliRun RunCliIntoClosedPipe(const std::vector<std::string>& args);

std::string ReadFile(const std::string& path);
