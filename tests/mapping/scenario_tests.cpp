// The scenario corpus (tests/scenarios/NAME/), run end to end: the stand-in
// core driver loads the built module and drives the conversion, once in this
// process through the host library (which sees the document a failed
// conversion leaves) and once through the ptbridge command. A scenario folder
// holds
//   scenario.txt   "command: ticket|capabilities|devmode", any number of
//                  "option: Feature=Option" (device options in the DEVMODE, which
//                  otherwise holds the built-in device's defaults),
//                  "result: 0x........" (the HRESULT), and optionally
//                  "input: PATH" (relative to the project) instead of input.xml
//                  and "whitespace: preserve" to load the document with its
//                  white space as written (ptbridge --preserve-whitespace)
//                  rather than as MSXML 6 loads it by default
//   input.xml      the document handed to the conversion
//   expected.xml   the document the conversion leaves, compared canonically
#include "canonical_xml.h"
#include "core_helper.h"
#include "device_options.h"
#include "host_session.h"
#include "msxml_standin.h"
#include "platform_testing.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

using namespace ptbridge;

namespace fs = std::filesystem;

namespace {
struct Scenario {
    std::string command;
    std::vector<OptionSelection> options;
    HRESULT result = S_OK;
    bool preserveWhiteSpace = false;
    fs::path input;
    fs::path expected;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool ReadScenario(const fs::path& folder, Scenario* scenario, std::string* error) {
    scenario->input = folder / "input.xml";
    scenario->expected = folder / "expected.xml";
    std::istringstream lines(ReadFile(folder / "scenario.txt"));
    std::string line;
    bool hasResult = false;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        size_t colon = line.find(": ");
        std::string key = line.substr(0, colon);
        std::string value = colon == std::string::npos ? "" : line.substr(colon + 2);
        size_t equals = value.find('=');
        if (key == "command") {
            scenario->command = value;
        } else if (key == "option" && equals != std::string::npos) {
            scenario->options.push_back({value.substr(0, equals), value.substr(equals + 1)});
        } else if (key == "result") {
            scenario->result = static_cast<HRESULT>(std::stoul(value, nullptr, 16));
            hasResult = true;
        } else if (key == "input") {
            scenario->input = fs::path(PTBRIDGE_SOURCE_DIR) / value;
        } else if (key == "whitespace" && value == "preserve") {
            scenario->preserveWhiteSpace = true;
        } else {
            *error = "malformed line: " + line;
            return false;
        }
    }
    if (scenario->command.empty() || !hasResult) {
        *error = "scenario.txt needs a command and a result";
        return false;
    }
    return true;
}

std::vector<std::string> ScenarioNames() {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(fs::path(PTBRIDGE_SOURCE_DIR) / "tests" / "scenarios")) {
        if (entry.is_directory())
            names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Runs one conversion through a host session over the built module; the
// document is the one the conversion left, whatever it returned.
HRESULT ConvertThroughHost(const Scenario& scenario, std::string* document) {
    HostSession session;
    std::string error;
    EXPECT_EQ(session.Open(PTBRIDGE_MODULE_PATH, &error), OpenStatus::Opened) << error;
    HostDevmode devmode;
    // The DEVMODE the command builds: the device's defaults, replaced by the options.
    EXPECT_EQ(HostDevmode::Build(DevmodeSelections(DefaultDevice(), scenario.options),
                                 session.PluginSectionSize(), &devmode),
              S_OK);
    EXPECT_EQ(session.WriteDefaultPluginSection(devmode), S_OK);

    ComPtr<IXMLDOMDocument2> xml;
    XmlLoadError loadError;
    if (LoadDocumentFromString(ReadFile(scenario.input), xml.Put(), &loadError,
                               scenario.preserveWhiteSpace) != S_OK) {
        ADD_FAILURE() << scenario.input << ": " << loadError.message;
        return E_UNEXPECTED;
    }
    HRESULT result = E_UNEXPECTED;
    if (scenario.command == "ticket")
        result = session.ConvertDevModeToPrintTicket(devmode, xml.Get());
    else if (scenario.command == "devmode")
        result = session.ConvertPrintTicketToDevMode(xml.Get(), devmode);
    else if (scenario.command == "capabilities")
        result = session.CompletePrintCapabilities(nullptr, xml.Get());
    else
        ADD_FAILURE() << "unknown command " << scenario.command;
    EXPECT_EQ(SaveDocumentToString(xml.Get(), document), S_OK);
    return result;
}

// Runs the command with stdout and stderr sent to files; its exit status, or
// -1 when it could not be run or did not exit.
int RunCommand(const std::vector<std::string>& arguments, const fs::path& out,
               const fs::path& err) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t child = 0;
    int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// The HRESULT the command reported: S_OK for exit status 0, else the number in
// the "(0x........)" of its error message; E_UNEXPECTED when there is none.
HRESULT ReportedResult(int exitStatus, const std::string& errors) {
    if (exitStatus == 0)
        return S_OK;
    std::smatch match;
    if (!std::regex_search(errors, match, std::regex(R"(\((0x[0-9A-Fa-f]{8})\))")))
        return E_UNEXPECTED;
    return static_cast<HRESULT>(std::stoul(match[1].str(), nullptr, 16));
}

class ScenarioTest : public ::testing::TestWithParam<std::string> {
  protected:
    void SetUp() override {
        const fs::path folder = fs::path(PTBRIDGE_SOURCE_DIR) / "tests" / "scenarios" / GetParam();
        std::string error;
        ASSERT_TRUE(ReadScenario(folder, &scenario, &error)) << error;
        expected = CanonicalXml(ReadFile(scenario.expected));
    }

    Scenario scenario;
    std::string expected;
};
} // namespace

TEST_P(ScenarioTest, ThroughTheHost) {
    LONG domObjects = LiveDomObjectCount();
    LONG bstrs = PlatformLiveBstrCount();
    LONG blocks = PlatformLiveTaskMemCount();
    std::string document;
    EXPECT_EQ(ConvertThroughHost(scenario, &document), scenario.result);
    EXPECT_EQ(CanonicalXml(document), expected);
    // The session is closed and the module unloaded: nothing may be left.
    EXPECT_EQ(LiveDomObjectCount(), domObjects);
    EXPECT_EQ(PlatformLiveBstrCount(), bstrs);
    EXPECT_EQ(PlatformLiveTaskMemCount(), blocks);
    EXPECT_EQ(HostCoreHelper::LiveCount(), 0);
}

TEST_P(ScenarioTest, ThroughTheCommand) {
    const fs::path work = fs::path(::testing::TempDir()) / ("ptbridge-scenario-" + GetParam());
    fs::create_directories(work);
    const fs::path output = work / "output.xml";
    fs::remove(output);
    std::vector<std::string> arguments = {PTBRIDGE_CLI_PATH,       scenario.command,
                                          scenario.input.string(), "-o",
                                          output.string(),         "--keep-partial"};
    if (scenario.preserveWhiteSpace)
        arguments.push_back("--preserve-whitespace");
    std::vector<std::string> optionArguments;
    for (const OptionSelection& option : scenario.options) {
        arguments.push_back("--option");
        arguments.push_back(option.feature + "=" + option.option);
        optionArguments.push_back(arguments.back());
    }
    int status = RunCommand(arguments, work / "stdout", work / "stderr");
    const std::string errors = ReadFile(work / "stderr");
    // Keywords the device does not offer reach the plug-in only through the
    // host; the command refuses them.
    std::vector<OptionSelection> offered;
    std::string refusal;
    if (!ParseDeviceOptions(DefaultDevice(), optionArguments, &offered, &refusal)) {
        EXPECT_EQ(status, 2);
        EXPECT_EQ(errors, "ptbridge: " + refusal + "\n");
        EXPECT_FALSE(fs::exists(output));
        fs::remove_all(work);
        return;
    }
    EXPECT_EQ(ReportedResult(status, errors), scenario.result)
        << "exit status " << status << ", stderr: " << errors;
    // With --keep-partial the command writes what the conversion left, whatever
    // it returned.
    EXPECT_EQ(CanonicalXml(ReadFile(output)), expected);
    fs::remove_all(work);
}

// check reads the document as the rules do: the result it says the
// conversion would return is the one the conversion returns.
TEST_P(ScenarioTest, CheckAgreesWithTheConversion) {
    const fs::path work = fs::path(::testing::TempDir()) / ("ptbridge-check-" + GetParam());
    fs::create_directories(work);
    std::vector<std::string> arguments = {
        PTBRIDGE_CLI_PATH, "check", scenario.input.string(), "--for", scenario.command,
        "--format",        "json"};
    if (scenario.preserveWhiteSpace)
        arguments.push_back("--preserve-whitespace");
    int status = RunCommand(arguments, work / "stdout", work / "stderr");
    const std::string report = ReadFile(work / "stdout");
    std::smatch match;
    ASSERT_TRUE(std::regex_search(report, match, std::regex(R"re("result":"(0x[0-9A-F]{8})")re")))
        << "exit status " << status << ": " << report << ReadFile(work / "stderr");
    EXPECT_EQ(static_cast<HRESULT>(std::stoul(match[1].str(), nullptr, 16)), scenario.result)
        << report;
    // Ready or not, the document and the device were usable.
    EXPECT_TRUE(status == 0 || status == 1) << status;
    fs::remove_all(work);
}

INSTANTIATE_TEST_SUITE_P(Corpus, ScenarioTest, ::testing::ValuesIn(ScenarioNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });
