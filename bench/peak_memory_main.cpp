// ptbridge_peak_memory PROGRAM [ARGUMENT]...: runs the program with its output
// discarded and prints "<exit code> <peak resident bytes> <seconds> <CPU
// seconds>". Being small itself, it lets a large process measure a child's own
// peak memory.
// Exits 0 when it could run the program, 2 otherwise.
#include "child_process.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: ptbridge_peak_memory PROGRAM [ARGUMENT]...\n");
        return 2;
    }
    ptbridge::ChildRun run = ptbridge::RunChild(std::vector<std::string>(argv + 1, argv + argc));
    if (!run.started) {
        std::fprintf(stderr, "ptbridge_peak_memory: cannot run %s\n", argv[1]);
        return 2;
    }
    std::printf("%d %zu %.6f %.6f\n", run.exitCode, run.peakBytes, run.seconds, run.cpuSeconds);
    return 0;
}
