#include "scenario_reader.h"

#include <algorithm>
#include <fstream>

namespace fs = std::filesystem;

std::vector<std::string> ScenarioNames(const fs::path& corpus) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(corpus))
        if (entry.is_directory())
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool ReadScenario(const fs::path& corpus, const std::string& name, const fs::path& projectDir,
                  Scenario* scenario, std::string* error) {
    const fs::path folder = corpus / name;
    *scenario = Scenario();
    scenario->name = name;
    scenario->input = folder / "input.xml";
    scenario->expected = folder / "expected.xml";
    std::ifstream file(folder / "scenario.txt");
    if (!file) {
        *error = "cannot read " + (folder / "scenario.txt").string();
        return false;
    }
    bool hasResult = false;
    std::string line;
    while (std::getline(file, line)) {
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
            scenario->result = static_cast<uint32_t>(std::stoul(value, nullptr, 16));
            hasResult = true;
        } else if (key == "input") {
            scenario->input = projectDir / value;
        } else if (key == "whitespace" && value == "preserve") {
            scenario->preserveWhiteSpace = true;
        } else {
            *error = name + "/scenario.txt: malformed line: " + line;
            return false;
        }
    }
    if (scenario->command.empty() || !hasResult) {
        *error = name + "/scenario.txt needs a command and a result";
        return false;
    }
    return true;
}

std::vector<std::string> CommandArguments(const Scenario& scenario, const std::string& input) {
    std::vector<std::string> arguments{scenario.command, input};
    if (scenario.preserveWhiteSpace)
        arguments.push_back("--preserve-whitespace");
    for (const ScenarioOption& option : scenario.options) {
        arguments.push_back("--option");
        arguments.push_back(option.Argument());
    }
    return arguments;
}
