#include "report.h"

#include "benchmark_cases.h"

#include <cmath>
#include <iterator>
#include <string>

namespace ptbridge {

namespace {
constexpr size_t FitFrom = 100 * KiB;
constexpr int LabelWidth = 34;
constexpr int ColumnWidth = 11;

std::string Seconds(double seconds) {
    char text[32];
    if (seconds <= 0)
        return "-";
    if (seconds < 1e-3)
        std::snprintf(text, sizeof text, "%.1f us", seconds * 1e6);
    else if (seconds < 1)
        std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
    else
        std::snprintf(text, sizeof text, "%.2f s", seconds);
    return text;
}

std::string Fixed(double value, const char* format) {
    if (!std::isfinite(value) || value <= 0)
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

void Header(std::FILE* out, const char* title, const char* last) {
    std::fprintf(out, "\n%-*s", LabelWidth, title);
    for (size_t nominal : MeasuredSizes)
        std::fprintf(out, "%*s", ColumnWidth, SizeLabel(nominal).c_str());
    std::fprintf(out, "%*s\n", ColumnWidth, last);
}

void TimeRow(std::FILE* out, const Measurements& measurements, const std::string& row) {
    std::fprintf(out, "%-*s", LabelWidth, row.c_str());
    for (size_t nominal : MeasuredSizes)
        std::fprintf(out, "%*s", ColumnWidth, Seconds(measurements.Median(row, nominal)).c_str());
    std::fprintf(out, "%*s\n", ColumnWidth,
                 Fixed(ScalingExponent(measurements, row), "%.3f").c_str());
}

double ShareOfParse(const Measurements& measurements, Conversion conversion, size_t nominal) {
    double parse = measurements.Median(ParseRow(InputKind(conversion)), nominal);
    double convert = measurements.Median(MethodName(conversion), nominal);
    return parse > 0 && convert > 0 ? convert / parse : NAN;
}

double Megabytes(size_t bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

const char* Verdict(bool met) {
    return met ? "met" : "MISSED";
}

double Ratio(double numerator, double denominator) {
    return numerator > 0 && denominator > 0 ? numerator / denominator : NAN;
}

constexpr int BoundLabelWidth = 40;

struct BoundTally {
    int met = 0;
    int measured = 0;
};

// A row of the bounds table: the ratio with the values it divides, the bound,
// and the verdict.
void BoundRow(std::FILE* out, const std::string& label, double ratio, const std::string& values,
              double bound, BoundTally* tally) {
    std::fprintf(out, "  %-*s", BoundLabelWidth, label.c_str());
    if (!std::isfinite(ratio)) {
        std::fprintf(out, "not measured\n");
        return;
    }
    bool met = ratio <= bound;
    ++tally->measured;
    tally->met += met ? 1 : 0;
    std::string measured = Fixed(ratio, "%.2fx") + " (" + values + ")";
    std::fprintf(out, "%-34s %6.2fx  %s\n", measured.c_str(), bound, Verdict(met));
}

// The command's CPU time against a tool's, at each compared size; skipped
// when the tool is missing or failed.
void ToolRows(std::FILE* out, const ToolComparison& comparison, const char* toolName,
              const ComparedProgram& tool, const char* row, double bound, BoundTally* tally) {
    for (size_t nominal : ComparedSizes) {
        std::string label = std::string("CPU time / ") + row + ", " + SizeLabel(nominal);
        if (tool.path.empty() || !tool.problem.empty()) {
            std::fprintf(out, "  %-*sskipped: %s %s\n", BoundLabelWidth, label.c_str(), toolName,
                         tool.path.empty() ? "is not on PATH" : tool.problem.c_str());
            continue;
        }
        double command = comparison.times.Median(CommandToFileRow, nominal);
        double reference = comparison.times.Median(row, nominal);
        BoundRow(out, label, Ratio(command, reference),
                 Seconds(command) + " / " + Seconds(reference), bound, tally);
    }
}

void PrintBounds(const ToolComparison& comparison, const std::vector<PeakMemory>& peaks,
                 std::FILE* out) {
    std::fprintf(out,
                 "\nAgainst the bounds: %s as a whole process, median CPU time of %d rounds "
                 "alternating the commands\n",
                 CommandToFileRow, ComparisonRounds);
    std::fprintf(out, "  %-*s%-34s %7s  %s\n", BoundLabelWidth, "", "measured", "bound", "");
    BoundTally tally;
    ToolRows(out, comparison, "xmllint", comparison.xmllint, XmllintRow, XmllintBound, &tally);
    ToolRows(out, comparison, "xsltproc", comparison.xsltproc, XsltprocRow, XsltprocBound, &tally);

    const PeakMemory* largest = peaks.empty() ? nullptr : &peaks.back();
    std::string peakLabel =
        "peak memory / document, " + (largest ? SizeLabel(largest->nominalBytes) : "-");
    double peakMultiple = largest ? Ratio(static_cast<double>(largest->peakBytes),
                                          static_cast<double>(largest->documentBytes))
                                  : NAN;
    BoundRow(out, peakLabel, peakMultiple,
             largest ? Fixed(Megabytes(largest->peakBytes), "%.1f MB") + " / " +
                           Fixed(Megabytes(largest->documentBytes), "%.1f MB")
                     : "",
             PeakMemoryBound, &tally);

    size_t smallest = ComparedSizes[0];
    size_t biggest = ComparedSizes[std::size(ComparedSizes) - 1];
    double from = comparison.times.Median(CommandToFileRow, smallest);
    double to = comparison.times.Median(CommandToFileRow, biggest);
    BoundRow(out, "CPU time " + SizeLabel(biggest) + " / " + SizeLabel(smallest), Ratio(to, from),
             Seconds(to) + " / " + Seconds(from), GrowthBound, &tally);

    if (!comparison.command.problem.empty())
        std::fprintf(out, "%s %s\n", CommandToFileRow, comparison.command.problem.c_str());
    if (!comparison.xsltproc.path.empty() && comparison.xsltproc.problem.empty())
        std::fprintf(out, "%s\n",
                     comparison.stylesheetMatches
                         ? "xsltproc's output is the same document as the command's, at every size"
                         : "xsltproc's output DIFFERS from the command's: the stylesheet no "
                           "longer makes the plug-in's edits");
    std::fprintf(out, "%d of %d bounds measured are met\n", tally.met, tally.measured);
}
} // namespace

double ScalingExponent(const Measurements& measurements, const std::string& row) {
    double n = 0, sumX = 0, sumY = 0, sumXX = 0, sumXY = 0;
    for (size_t nominal : MeasuredSizes) {
        double seconds = measurements.Median(row, nominal);
        if (nominal < FitFrom || seconds <= 0)
            continue;
        double x = std::log(static_cast<double>(measurements.Bytes(row, nominal)));
        double y = std::log(seconds);
        n += 1;
        sumX += x;
        sumY += y;
        sumXX += x * x;
        sumXY += x * y;
    }
    double spread = n * sumXX - sumX * sumX;
    if (n < 2 || spread <= 0)
        return NAN;
    return (n * sumXY - sumX * sumY) / spread;
}

void PrintReport(const Measurements& measurements, const std::vector<PeakMemory>& peaks,
                 const ToolComparison& comparison, std::FILE* out) {
    std::fprintf(out, "\nptbridge benchmark report (median CPU time per call)\n");

    Header(out, "Time per call", "exponent");
    for (DocumentKind kind : AllKinds)
        TimeRow(out, measurements, ParseRow(kind));
    for (DocumentKind kind : AllKinds)
        TimeRow(out, measurements, SaveRow(kind));
    for (Conversion conversion : AllConversions)
        TimeRow(out, measurements, MethodName(conversion));
    std::fprintf(out, "%-*s%s on the %s document\n", LabelWidth, CommandRow,
                 Seconds(measurements.Median(CommandRow, CommandSize)).c_str(),
                 SizeLabel(CommandSize).c_str());

    Header(out, "Conversion time / parse time", "");
    for (Conversion conversion : AllConversions) {
        std::fprintf(out, "%-*s", LabelWidth, MethodName(conversion));
        for (size_t nominal : MeasuredSizes)
            std::fprintf(out, "%*s", ColumnWidth,
                         Fixed(ShareOfParse(measurements, conversion, nominal), "%.3f").c_str());
        std::fprintf(out, "\n");
    }

    std::fprintf(out, "\n%-*s", LabelWidth, "ptbridge capabilities peak memory");
    for (const PeakMemory& peak : peaks)
        std::fprintf(out, "%*s", ColumnWidth,
                     peak.peakBytes ? Fixed(Megabytes(peak.peakBytes), "%.1f MB").c_str() : "-");
    std::fprintf(out, "\n%-*s", LabelWidth, "  as a multiple of the document");
    for (const PeakMemory& peak : peaks)
        std::fprintf(
            out, "%*s", ColumnWidth,
            Fixed(static_cast<double>(peak.peakBytes) / peak.documentBytes, "%.2fx").c_str());
    std::fprintf(out, "\n%-*s", LabelWidth, "the parsed document alone");
    for (const PeakMemory& peak : peaks)
        std::fprintf(
            out, "%*s", ColumnWidth,
            Fixed(static_cast<double>(peak.treeBytes) / peak.documentBytes, "%.2fx").c_str());
    std::fprintf(out, "\n\nTargets\n");

    int met = 0;
    int targets = 0;
    auto count = [&](double value, double limit) {
        ++targets;
        if (!std::isfinite(value))
            return "not measured";
        met += value <= limit ? 1 : 0;
        return Verdict(value <= limit);
    };
    for (Conversion conversion : AllConversions) {
        double share = ShareOfParse(measurements, conversion, CommandSize);
        std::fprintf(out, "  %-30s %s / parse %s = %s (limit %.2f): %s\n", MethodName(conversion),
                     SizeLabel(CommandSize).c_str(), SizeLabel(CommandSize).c_str(),
                     Fixed(share, "%.3f").c_str(), ConversionToParseLimit,
                     count(share, ConversionToParseLimit));
    }
    for (Conversion conversion : AllConversions) {
        double exponent = ScalingExponent(measurements, MethodName(conversion));
        std::fprintf(out, "  %-30s scaling exponent = %s (limit %.2f): %s\n",
                     MethodName(conversion), Fixed(exponent, "%.3f").c_str(), ExponentLimit,
                     count(exponent, ExponentLimit));
    }
    const PeakMemory* largest = peaks.empty() ? nullptr : &peaks.back();
    double multiple = largest && largest->peakBytes
                          ? static_cast<double>(largest->peakBytes) / largest->documentBytes
                          : NAN;
    std::fprintf(out, "  %-30s peak memory on %s = %s the document (limit %.1fx): %s\n",
                 "ptbridge capabilities", largest ? SizeLabel(largest->nominalBytes).c_str() : "-",
                 Fixed(multiple, "%.2fx").c_str(), PeakMemoryLimit,
                 count(multiple, PeakMemoryLimit));
    std::fprintf(out, "%d of %d targets met\n", met, targets);

    PrintBounds(comparison, peaks, out);
}

} // namespace ptbridge
