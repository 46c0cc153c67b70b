// The Wine tier's comparisons: the MinGW-built ptbridge.exe and ptbridge.dll
// run under Wine, with Wine's MSXML 6, against the native build on the same
// input. Every scenario of the corpus runs in the form whose framework
// namespace is the default namespace; the conversion must return the same
// result and leave a canonically identical document.
#include "canonical_xml.h"
#include "cli_runner.h"
#include "default_framework_variant.h"
#include "scenario_corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

namespace fs = std::filesystem;

namespace {
const fs::path ProjectDir = PTBRIDGE_SOURCE_DIR;
const fs::path Corpus = ProjectDir / "tests" / "scenarios";

// Runs ptbridge.exe under Wine in the tier's prefix.
CliRun RunUnderWine(const std::vector<std::string>& args, const std::string& workingDirectory) {
    setenv("WINEPREFIX", PTBRIDGE_WINE_PREFIX, 1);
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=;winedbg.exe=d", 1);
    std::vector<std::string> command{PTBRIDGE_PE_CLI_PATH};
    command.insert(command.end(), args.begin(), args.end());
    return RunProgram(PTBRIDGE_WINE, command, workingDirectory);
}

// The HRESULT a run reported: 0 for exit status 0, else the "(0x........)" of
// its message; 0xFFFFFFFF when there is none.
uint32_t ReportedResult(const CliRun& run) {
    if (run.exitCode == 0)
        return 0;
    std::smatch match;
    if (!std::regex_search(run.err, match, std::regex(R"(\((0x[0-9A-Fa-f]{8})\))")))
        return 0xFFFFFFFF;
    return static_cast<uint32_t>(std::stoul(match[1].str(), nullptr, 16));
}

std::string WithoutCarriageReturns(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

Scenario Read(const std::string& name) {
    Scenario scenario;
    std::string error;
    EXPECT_TRUE(ReadScenario(Corpus, name, ProjectDir, &scenario, &error)) << error;
    return scenario;
}

class WineScenarioTest : public ::testing::TestWithParam<std::string> {};

TEST_P(WineScenarioTest, MatchesTheNativeBuild) {
    const Scenario scenario = Read(GetParam());
    const FrameworkVariant variant = MakeDefaultFrameworkVariant(ReadFile(scenario.input));
    if (!variant.servable)
        GTEST_SKIP() << "cannot run on Wine's DOM: " << variant.reason;

    ScratchFolder folder;
    folder.Write("input.xml", variant.text);
    std::vector<std::string> arguments{scenario.command, "input.xml"};
    if (scenario.preserveWhiteSpace)
        arguments.push_back("--preserve-whitespace");
    for (const std::string& option : scenario.options) {
        arguments.push_back("--option");
        arguments.push_back(option);
    }
    auto withOutput = [&](const char* file) {
        std::vector<std::string> all = arguments;
        all.insert(all.end(), {"-o", file});
        return all;
    };
    CliRun native = RunCli(withOutput("native.xml"), folder.Path());
    CliRun wine = RunUnderWine(withOutput("wine.xml"), folder.Path());

    // Keywords the device does not offer are refused before any conversion.
    if (native.exitCode == 2 && native.err.find("--option") != std::string::npos) {
        EXPECT_EQ(WithoutCarriageReturns(wine.err), native.err);
        EXPECT_EQ(wine.exitCode, 2);
        return;
    }
    EXPECT_EQ(ReportedResult(native), scenario.result)
        << "the variant changed the scenario's result: " << native.err;
    EXPECT_EQ(wine.exitCode, native.exitCode) << wine.err;
    EXPECT_EQ(ReportedResult(wine), ReportedResult(native)) << wine.err;
    if (native.exitCode != 0) {
        EXPECT_FALSE(fs::exists(folder.File("wine.xml"))) << "written although the plug-in failed";
        return;
    }
    const std::string nativeDocument = CanonicalXml(ReadFile(folder.File("native.xml")));
    EXPECT_EQ(CanonicalXml(ReadFile(folder.File("wine.xml"))), nativeDocument);
    // The variant of the expected document is what the native build gives on
    // the variant of the input: the rewrite kept the scenario's meaning.
    const FrameworkVariant expected = MakeDefaultFrameworkVariant(ReadFile(scenario.expected));
    ASSERT_TRUE(expected.servable) << expected.reason;
    EXPECT_EQ(CanonicalXml(expected.text), nativeDocument);
}

INSTANTIATE_TEST_SUITE_P(Corpus, WineScenarioTest, ::testing::ValuesIn(ScenarioNames(Corpus)),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST(WineTierTest, InfoMatchesTheNativeBuild) {
    ScratchFolder folder;
    CliRun native = RunCli({"info"}, folder.Path());
    CliRun wine = RunUnderWine({"info"}, folder.Path());
    ASSERT_EQ(native.exitCode, 0) << native.err;
    ASSERT_EQ(wine.exitCode, 0) << wine.err;
    // Everything but the module's path, which names the platform's module.
    const std::regex modulePath("module: *[^\n]*\n");
    EXPECT_EQ(std::regex_replace(WithoutCarriageReturns(wine.out), modulePath, ""),
              std::regex_replace(native.out, modulePath, ""));
    EXPECT_NE(wine.out.find("ptbridge.dll"), std::string::npos) << wine.out;
}

TEST(WineTierTest, DiffShowsTheEditsUnderWine) {
    const FrameworkVariant variant =
        MakeDefaultFrameworkVariant(ReadFile(ProjectDir / "examples" / "capabilities.xml"));
    ASSERT_TRUE(variant.servable) << variant.reason;
    ScratchFolder folder;
    folder.Write("capabilities.xml", variant.text);
    CliRun wine = RunUnderWine({"capabilities", "capabilities.xml", "--diff"}, folder.Path());
    ASSERT_EQ(wine.exitCode, 0) << wine.err;
    const std::string diff = WithoutCarriageReturns(wine.out);
    EXPECT_EQ(diff.rfind("--- capabilities.xml (before)\n+++ capabilities.xml (after", 0), 0u)
        << diff;
    EXPECT_NE(diff.find("+      <ScoredProperty "), std::string::npos) << diff;
    EXPECT_NE(diff.find("name=\"psk:BinType\""), std::string::npos) << diff;
    EXPECT_EQ(diff.find("MediaSizeHeight"), std::string::npos) << "untouched lines are no context";
}

// Wine's DOM finds nothing by a prefixed tag name: a document that declares a
// framework prefix fails saying so, never that a feature is missing. Its path
// begins with "/", which ptbridge.exe takes as a file.
TEST(WineTierTest, APrefixedDocumentFailsNamingWhatTheDomCannotDo) {
    ScratchFolder folder;
    std::string input =
        folder.Write("capabilities.xml", ReadFile(ProjectDir / "examples" / "capabilities.xml"));
    CliRun wine = RunUnderWine({"capabilities", input}, folder.Path());
    EXPECT_EQ(wine.exitCode, 1) << wine.err;
    EXPECT_NE(wine.err.find(": this DOM cannot run the plug-in's prefixed searches"),
              std::string::npos)
        << wine.err;
    EXPECT_NE(wine.err.find("as the default namespace"), std::string::npos) << wine.err;
}

// Lists the scenarios that cannot run on Wine's DOM, with the reason, in the
// tier's report (and in this test's output).
TEST(WineTierTest, ReportsWhichScenariosRunUnderWine) {
    std::vector<std::string> names = ScenarioNames(Corpus);
    std::string notRun;
    size_t servable = 0;
    for (const std::string& name : names) {
        const FrameworkVariant variant = MakeDefaultFrameworkVariant(ReadFile(Read(name).input));
        if (variant.servable)
            ++servable;
        else
            notRun += "  " + name + ": " + variant.reason + "\n";
    }
    std::string report = "Wine tier: " + std::to_string(servable) + " of " +
                         std::to_string(names.size()) +
                         " scenarios run under Wine in their default-namespace form, each "
                         "compared canonically with the native build (WineScenarioTest).\n"
                         "As written, with a framework prefix, they cannot run on Wine's DOM: its "
                         "getElementsByTagName compares local names only, so the plug-in's "
                         "prefixed names (psf:Feature, ...) find nothing there.\n";
    report +=
        notRun.empty() ? "Every scenario runs under Wine.\n" : "Not run on Wine's DOM:\n" + notRun;
    std::ofstream(PTBRIDGE_WINE_REPORT) << report;
    std::fputs(report.c_str(), stdout);
    EXPECT_GT(servable, 0u);
}
} // namespace
