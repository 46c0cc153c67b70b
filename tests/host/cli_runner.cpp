#include "cli_runner.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

ScratchFolder::ScratchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "ptbridge-host-XXXXXX").string();
    char* made = mkdtemp(&pattern[0]);
    EXPECT_NE(made, nullptr);
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::Write(const std::string& name, const std::string& text) const {
    std::string path = File(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::vector<std::string> ScratchFolder::Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    return names;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

namespace {
// Runs the program with standard output going to `stdoutDescriptor` when it
// is not -1, else as `streams` say.
CliRun Spawn(const std::string& program, const std::vector<std::string>& args,
             const std::string& workingDirectory, const CliStreams& streams, int stdoutDescriptor) {
    ScratchFolder capture;
    std::string outPath = streams.stdoutPath.empty() ? capture.File("stdout") : streams.stdoutPath;
    std::string errPath = capture.File("stderr");

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, streams.stdinPath.c_str(), O_RDONLY,
                                     0);
    if (stdoutDescriptor != -1)
        posix_spawn_file_actions_adddup2(&actions, stdoutDescriptor, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (!workingDirectory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());

    std::vector<std::string> argvText{program};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& text : argvText)
        argv.push_back(&text[0]);
    argv.push_back(nullptr);

    // The signals a test sends reach the program with their default action.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&defaults, signal);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

    CliRun run;
    pid_t child = 0;
    int spawned = posix_spawn(&child, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    EXPECT_EQ(spawned, 0) << "cannot start " << program;
    if (spawned != 0)
        return run;
    if (streams.whileRunning)
        streams.whileRunning(child);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        run.signal = WTERMSIG(status);
    if (stdoutDescriptor == -1 && streams.stdoutPath.empty())
        run.out = ReadFile(outPath);
    run.err = ReadFile(errPath);
    return run;
}
} // namespace

CliRun RunCli(const std::vector<std::string>& args, const std::string& workingDirectory,
              const CliStreams& streams) {
    return RunProgram(PTBRIDGE_CLI_PATH, args, workingDirectory, streams);
}

CliRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                  const std::string& workingDirectory, const CliStreams& streams) {
    return Spawn(program, args, workingDirectory, streams, -1);
}

CliRun RunCliIntoClosedPipe(const std::vector<std::string>& args) {
    int ends[2];
    EXPECT_EQ(pipe2(ends, O_CLOEXEC), 0);
    close(ends[0]);
    CliRun run = Spawn(PTBRIDGE_CLI_PATH, args, "", {}, ends[1]);
    close(ends[1]);
    return run;
}
