#include "child_process.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace ptbridge {

namespace {
void ReadAll(int descriptor, std::string* output) {
    char chunk[4096];
    ssize_t count;
    while ((count = read(descriptor, chunk, sizeof chunk)) != 0) {
        if (count < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        output->append(chunk, static_cast<size_t>(count));
    }
}
} // namespace

ChildRun RunChild(const std::vector<std::string>& arguments, std::string* output) {
    ChildRun run;
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    int pipeEnds[2] = {-1, -1};
    if (output && pipe2(pipeEnds, O_CLOEXEC) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output)
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (output) {
        close(pipeEnds[1]);
        if (spawned == 0)
            ReadAll(pipeEnds[0], output);
        close(pipeEnds[0]);
    }
    if (spawned != 0)
        return run;

    int status = 0;
    struct rusage usage {};
    pid_t waited;
    do
        waited = wait4(child, &status, 0, &usage);
    while (waited < 0 && errno == EINTR);
    auto end = std::chrono::steady_clock::now();
    if (waited != child)
        return run;
    run.started = true;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.seconds = std::chrono::duration<double>(end - start).count();
    run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    run.peakBytes = static_cast<size_t>(usage.ru_maxrss) * 1024; // ru_maxrss counts KiB
    return run;
}

std::string FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::string directories = path ? path : "";
    size_t start = 0;
    while (start <= directories.size()) {
        size_t end = directories.find(':', start);
        if (end == std::string::npos)
            end = directories.size();
        std::string directory = directories.substr(start, end - start);
        std::string candidate = (directory.empty() ? "." : directory) + "/" + name;
        struct stat status {};
        if (stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
            access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

ChildRun MeasurePeakMemory(const std::string& measurerPath,
                           const std::vector<std::string>& arguments) {
    std::vector<std::string> measured = {measurerPath};
    measured.insert(measured.end(), arguments.begin(), arguments.end());
    std::string report;
    ChildRun measurer = RunChild(measured, &report);
    ChildRun run;
    int exitCode = -1;
    unsigned long long peakBytes = 0;
    double seconds = 0;
    double cpuSeconds = 0;
    if (!measurer.started || measurer.exitCode != 0 ||
        std::sscanf(report.c_str(), "%d %llu %lf %lf", &exitCode, &peakBytes, &seconds,
                    &cpuSeconds) != 4)
        return run;
    run.started = true;
    run.exitCode = exitCode;
    run.peakBytes = static_cast<size_t>(peakBytes);
    run.seconds = seconds;
    run.cpuSeconds = cpuSeconds;
    return run;
}

} // namespace ptbridge
