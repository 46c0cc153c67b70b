#include "scenario_corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace ptbridge;

namespace fs = std::filesystem;

const char* CommandName(ConversionMethod method) {
    switch (method) {
    case ConversionMethod::Devmode:
        return "devmode";
    case ConversionMethod::Capabilities:
        return "capabilities";
    case ConversionMethod::Ticket:
        break;
    }
    return "ticket";
}

namespace {
std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Reads scenario.txt: "command: NAME", "option: Feature=Option", "input: PATH"
// (relative to the project), "whitespace: preserve" (load the document with its
// white space as written) and "result: ..." (not needed here); "#" starts a comment.
bool ReadScenario(const fs::path& folder, Scenario* scenario) {
    scenario->name = folder.filename().string();
    fs::path input = folder / "input.xml";
    std::istringstream lines(ReadWholeFile((folder / "scenario.txt").string()));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        size_t colon = line.find(": ");
        if (colon == std::string::npos) {
            ADD_FAILURE() << scenario->name << ": malformed line " << line;
            return false;
        }
        std::string key = line.substr(0, colon);
        std::string value = line.substr(colon + 2);
        size_t equals = value.find('=');
        if (key == "command")
            scenario->command = value;
        else if (key == "option" && equals != std::string::npos)
            scenario->options.push_back({value.substr(0, equals), value.substr(equals + 1)});
        else if (key == "input")
            input = fs::path(PTBRIDGE_SOURCE_DIR) / value;
        else if (key == "whitespace")
            scenario->preserveWhiteSpace = value == "preserve";
    }
    scenario->input = ReadWholeFile(input.string());
    if (scenario->command.empty() || scenario->input.empty()) {
        ADD_FAILURE() << scenario->name << ": no command or no input document";
        return false;
    }
    return true;
}
} // namespace

std::vector<Scenario> ReadScenarioCorpus() {
    std::vector<fs::path> folders;
    for (const fs::directory_entry& entry :
         fs::directory_iterator(fs::path(PTBRIDGE_SOURCE_DIR) / "tests" / "scenarios"))
        if (entry.is_directory())
            folders.push_back(entry.path());
    std::sort(folders.begin(), folders.end());
    std::vector<Scenario> corpus;
    for (const fs::path& folder : folders) {
        Scenario scenario;
        if (ReadScenario(folder, &scenario))
            corpus.push_back(std::move(scenario));
    }
    EXPECT_FALSE(corpus.empty()) << "no scenario found";
    return corpus;
}
