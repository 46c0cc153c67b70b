#include "tool_comparison.h"

#include "child_process.h"

#include "msxml_standin.h"

#include <vector>

namespace ptbridge {

namespace {
// One program on one document.
struct ComparedRun {
    const char* row;
    size_t nominalBytes;
    size_t bytes;
    std::vector<std::string> arguments;
    ComparedProgram* program;
};

void Execute(const ComparedRun& run, Measurements* times) {
    ChildRun child = RunChild(run.arguments);
    if (!child.started) {
        run.program->problem = "cannot be started";
        return;
    }
    if (child.exitCode != 0) {
        run.program->problem = "failed (exit status " + std::to_string(child.exitCode) + ")";
        return;
    }
    if (times)
        times->Add(run.row, run.nominalBytes, run.bytes, child.cpuSeconds);
}

// The file's document as the stand-in DOM saves it; empty when it does not load.
std::string Resaved(const std::string& path) {
    IXMLDOMDocument2* document = nullptr;
    if (LoadDocumentFromFile(path, &document, nullptr) != S_OK)
        return {};
    std::string xml;
    HRESULT hr = SaveDocumentToString(document, &xml);
    document->Release();
    return hr == S_OK ? xml : std::string();
}

// Compared as loaded and saved again, so that what the DOM does with white
// space or the declaration does not count.
bool SameDocument(const std::string& left, const std::string& right) {
    std::string xml = Resaved(left);
    return !xml.empty() && xml == Resaved(right);
}
} // namespace

ToolComparison CompareWithTools(const std::string& commandPath, const std::string& stylesheetPath,
                                DocumentSet& documents, ScratchDirectory& scratch) {
    ToolComparison comparison;
    comparison.command.path = commandPath;
    comparison.xmllint.path = FindProgram("xmllint");
    comparison.xsltproc.path = FindProgram("xsltproc");

    std::vector<ComparedRun> runs;
    std::vector<std::pair<std::string, std::string>> outputsToMatch;
    for (size_t nominal : ComparedSizes) {
        const std::string& text = documents.Text(DocumentKind::Capabilities, nominal);
        std::string name = std::to_string(nominal) + ".xml";
        std::string input = scratch.Write("compared-" + name, text);
        if (input.empty()) {
            comparison.command.problem = "cannot write its input document";
            return comparison;
        }
        std::string commandOutput = scratch.Path("command-" + name);
        runs.push_back({CommandToFileRow,
                        nominal,
                        text.size(),
                        {commandPath, "capabilities", input, "-o", commandOutput},
                        &comparison.command});
        if (!comparison.xmllint.path.empty())
            runs.push_back(
                {XmllintRow,
                 nominal,
                 text.size(),
                 {comparison.xmllint.path, "--output", scratch.Path("xmllint-" + name), input},
                 &comparison.xmllint});
        if (!comparison.xsltproc.path.empty()) {
            std::string transformed = scratch.Path("xsltproc-" + name);
            runs.push_back({XsltprocRow,
                            nominal,
                            text.size(),
                            {comparison.xsltproc.path, "-o", transformed, stylesheetPath, input},
                            &comparison.xsltproc});
            outputsToMatch.emplace_back(commandOutput, transformed);
        }
    }

    // A first round, not measured, brings the programs and documents into
    // memory and leaves the outputs to compare.
    for (const ComparedRun& run : runs)
        Execute(run, nullptr);
    comparison.stylesheetMatches = !outputsToMatch.empty();
    for (const auto& outputs : outputsToMatch)
        comparison.stylesheetMatches =
            comparison.stylesheetMatches && SameDocument(outputs.first, outputs.second);

    // Each round starts one run later than the one before, so that every run
    // takes each place in the round in turn.
    for (int round = 0; round < ComparisonRounds; ++round)
        for (size_t index = 0; index < runs.size(); ++index)
            Execute(runs[(index + static_cast<size_t>(round)) % runs.size()], &comparison.times);
    return comparison;
}

} // namespace ptbridge
