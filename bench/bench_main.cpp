// ptbridge_bench: runs every benchmark once and prints the report. Google
// Benchmark's own flags apply (--benchmark_filter, --benchmark_min_time, ...).
// Exit status: 0 when every benchmark ran (the report says which targets are
// met: on a shared machine a target near its limit can go either way from one
// run to the next), 1 when a benchmark or a run of the command failed, 2 when
// the benchmarks cannot be set up.
#include "benchmark_cases.h"
#include "child_process.h"
#include "report.h"
#include "scratch_directory.h"
#include "tool_comparison.h"

#include "msxml_standin.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <malloc.h>

namespace ptbridge {

namespace {
// Each benchmark runs in five repetitions interleaved at random with the
// others, so that a burst of load on a shared machine spoils a few samples of
// many benchmarks rather than all samples of one; the report takes medians.
// The whole run stays within a few minutes on two cores.
const char* const DefaultFlags[] = {
    "--benchmark_min_time=0.15",
    "--benchmark_repetitions=5",
    "--benchmark_enable_random_interleaving=true",
    "--benchmark_display_aggregates_only=true",
};

// Heap in use by this process, from the C library's accounting.
size_t HeapInUse() {
    struct mallinfo2 heap = mallinfo2();
    return heap.uordblks + heap.hblkhd;
}

// The heap a parse of the text keeps for the document.
size_t ParsedSize(const std::string& text) {
    size_t before = HeapInUse();
    IXMLDOMDocument2* document = nullptr;
    if (LoadDocumentFromString(text, &document, nullptr) != S_OK)
        return 0;
    size_t after = HeapInUse();
    document->Release();
    return after > before ? after - before : 0;
}

std::vector<PeakMemory> CommandPeakMemory(DocumentSet& documents, ScratchDirectory& scratch) {
    std::vector<PeakMemory> peaks;
    for (size_t nominal : MeasuredSizes) {
        const std::string& text = documents.Text(DocumentKind::Capabilities, nominal);
        std::string file = scratch.Write("capabilities-" + std::to_string(nominal) + ".xml", text);
        ChildRun run =
            MeasurePeakMemory(PTBRIDGE_PEAK_MEMORY_PATH, {PTBRIDGE_CLI_PATH, "capabilities", file});
        PeakMemory peak;
        peak.nominalBytes = nominal;
        peak.documentBytes = text.size();
        peak.peakBytes = run.started && run.exitCode == 0 ? run.peakBytes : 0;
        peak.treeBytes = ParsedSize(text);
        peaks.push_back(peak);
    }
    return peaks;
}
} // namespace

} // namespace ptbridge

int main(int argc, char** argv) {
    using namespace ptbridge;
    std::vector<char*> arguments(argv, argv + argc);
    for (const char* flag : DefaultFlags)
        arguments.insert(arguments.begin() + 1, const_cast<char*>(flag));
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data()))
        return 2;

    DocumentSet documents;
    ConversionDriver driver;
    std::string error;
    if (!driver.Open(PTBRIDGE_MODULE_PATH, &error)) {
        std::fprintf(stderr, "ptbridge_bench: %s\n", error.c_str());
        return 2;
    }
    ScratchDirectory scratch;
    BenchmarkSetting setting;
    setting.documents = &documents;
    setting.driver = &driver;
    Measurements measurements;
    setting.measurements = &measurements;
    setting.commandPath = PTBRIDGE_CLI_PATH;
    setting.commandInput =
        scratch.Write("command.xml", documents.Text(DocumentKind::Capabilities, CommandSize));
    if (setting.commandInput.empty()) {
        std::fprintf(stderr, "ptbridge_bench: cannot write the command's input document\n");
        return 2;
    }

    RegisterBenchmarks(setting);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    ToolComparison comparison =
        CompareWithTools(PTBRIDGE_CLI_PATH, PTBRIDGE_STYLESHEET_PATH, documents, scratch);
    std::vector<PeakMemory> peaks = CommandPeakMemory(documents, scratch);
    PrintReport(measurements, peaks, comparison, stdout);
    return measurements.Failures() == 0 && comparison.command.problem.empty() ? 0 : 1;
}
