// ptbridge_diff_cost [--runs N] [PTBRIDGE]: what --diff costs the ptbridge
// command, as the ratio of its time and peak memory with --diff to those of
// the same command without it, on the documents of diff_cost_documents.h. It
// measures the ptbridge built beside it unless given another. Each command
// runs N times (3 by default), with and without --diff in turn, and counts its
// shortest CPU time (user and system) and smallest peak, the least disturbed
// by a shared machine.
// Exit status: 0 when every command ended as expected, 1 when one did not, 2
// for bad arguments or a document that cannot be written.
#include "child_process.h"
#include "diff_cost_documents.h"
#include "scratch_directory.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ptbridge {

namespace {
// --diff should cost at most this many times the command without it.
constexpr double RatioLimit = 3.0;

struct Cost {
    double seconds = 0; // CPU time, user and system
    size_t peakBytes = 0;
    bool asExpected = true; // every run ended with the expected exit status
};

void Include(const ChildRun& run, int exitCode, Cost* cost, bool first) {
    cost->asExpected = cost->asExpected && run.started && run.exitCode == exitCode;
    cost->seconds = first ? run.cpuSeconds : std::min(cost->seconds, run.cpuSeconds);
    cost->peakBytes = first ? run.peakBytes : std::min(cost->peakBytes, run.peakBytes);
}

double Megabytes(size_t bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

const char* Verdict(double timeRatio, double memoryRatio) {
    return timeRatio <= RatioLimit && memoryRatio <= RatioLimit ? "yes" : "NO";
}
} // namespace

} // namespace ptbridge

int main(int argc, char** argv) {
    using namespace ptbridge;
    int runs = 3;
    std::string command = PTBRIDGE_CLI_PATH;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc && std::atoi(argv[i + 1]) > 0) {
            runs = std::atoi(argv[++i]);
        } else if (argv[i][0] != '-') {
            command = argv[i];
        } else {
            std::fprintf(stderr, "usage: ptbridge_diff_cost [--runs N] [PTBRIDGE]\n");
            return 2;
        }
    }

    std::printf("%s, best of %d runs\n\n", command.c_str(), runs);
    std::printf("%-46s %7s | %8s %8s %6s | %8s %8s %6s | %s\n", "document", "MB", "CPU s", "--diff",
                "ratio", "peak MB", "--diff", "ratio", "within 3x");
    bool allAsExpected = true;
    ScratchDirectory scratch;
    std::vector<DiffCostCase> cases = DiffCostCases(PTBRIDGE_EXAMPLES_DIR);
    for (size_t index = 0; index < cases.size(); ++index) {
        const DiffCostCase& diffCase = cases[index];
        std::string document = diffCase.document();
        size_t documentBytes = document.size();
        std::string file =
            document.empty() ? std::string()
                             : scratch.Write("document" + std::to_string(index) + ".xml", document);
        std::string().swap(document);
        if (file.empty()) {
            std::fprintf(stderr, "ptbridge_diff_cost: cannot write the document \"%s\"\n",
                         diffCase.name.c_str());
            return 2;
        }
        std::vector<std::string> plain = {command, diffCase.command, file};
        std::vector<std::string> withDiff = plain;
        withDiff.push_back("--diff");
        Cost plainCost;
        Cost diffCost;
        for (int run = 0; run < runs; ++run) {
            Include(MeasurePeakMemory(PTBRIDGE_PEAK_MEMORY_PATH, plain), diffCase.exitCode,
                    &plainCost, run == 0);
            Include(MeasurePeakMemory(PTBRIDGE_PEAK_MEMORY_PATH, withDiff), diffCase.exitCode,
                    &diffCost, run == 0);
        }
        double timeRatio = diffCost.seconds / plainCost.seconds;
        double memoryRatio =
            static_cast<double>(diffCost.peakBytes) / static_cast<double>(plainCost.peakBytes);
        std::printf("%-46s %7.1f | %8.3f %8.3f %6.2f | %8.1f %8.1f %6.2f | %s%s\n",
                    diffCase.name.c_str(), Megabytes(documentBytes), plainCost.seconds,
                    diffCost.seconds, timeRatio, Megabytes(plainCost.peakBytes),
                    Megabytes(diffCost.peakBytes), memoryRatio, Verdict(timeRatio, memoryRatio),
                    plainCost.asExpected && diffCost.asExpected ? "" : " (unexpected exit status)");
        std::fflush(stdout);
        allAsExpected = allAsExpected && plainCost.asExpected && diffCost.asExpected;
    }
    return allAsExpected ? 0 : 1;
}
