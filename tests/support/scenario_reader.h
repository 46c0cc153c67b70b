// The scenario corpus of tests/scenarios/: one folder a scenario, holding
//   scenario.txt   "command: ticket|capabilities|devmode", any number of
//                  "option: Feature=Option" (device options in the DEVMODE, which
//                  otherwise holds the built-in device's defaults),
//                  "result: 0x........" (the HRESULT the conversion returns),
//                  and optionally "input: PATH" (relative to the project)
//                  instead of input.xml and "whitespace: preserve" to load the
//                  document with its white space as written (ptbridge
//                  --preserve-whitespace) rather than as MSXML 6 loads it;
//                  "#" starts a comment line
//   input.xml      the document handed to the conversion
//   expected.xml   the document the conversion leaves
// This is the one reader of scenario.txt; scripts get it through scenario_list.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct ScenarioOption {
    std::string feature;
    std::string option;
    // "Feature=Option", as ptbridge --option takes it.
    std::string Argument() const { return feature + "=" + option; }
};

struct Scenario {
    std::string name;
    std::string command; // ticket, capabilities or devmode
    std::vector<ScenarioOption> options;
    uint32_t result = 0; // the HRESULT the conversion returns
    bool preserveWhiteSpace = false;
    std::filesystem::path input;
    std::filesystem::path expected;
};

// Names of the scenario folders in `corpus`, sorted.
std::vector<std::string> ScenarioNames(const std::filesystem::path& corpus);

// Reads the scenario in corpus/name; "input" paths are taken from
// `projectDir`. False and *error (naming the scenario) when scenario.txt
// cannot be read or holds a line it does not know.
bool ReadScenario(const std::filesystem::path& corpus, const std::string& name,
                  const std::filesystem::path& projectDir, Scenario* scenario, std::string* error);

// The ptbridge arguments that run the scenario on `input`: the command, the
// document, then --preserve-whitespace and --option as the scenario asks.
std::vector<std::string> CommandArguments(const Scenario& scenario, const std::string& input);
