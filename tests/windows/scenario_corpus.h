// The scenario corpus of tests/scenarios/, read as its own runner reads it:
// each folder holds scenario.txt ("command: ...", "option: Feature=Option"
// lines, "result: 0x........", optionally "input: PATH" relative to the
// project and "whitespace: preserve" for ptbridge --preserve-whitespace),
// input.xml (unless "input" names another file) and expected.xml.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct Scenario {
    std::string name;
    std::string command;              // ticket, capabilities or devmode
    std::vector<std::string> options; // "Feature=Option"
    uint32_t result = 0;              // the HRESULT the conversion returns
    bool preserveWhiteSpace = false;  // the document is loaded with its white space
    std::filesystem::path input;
    std::filesystem::path expected;
};

// Names of the scenario folders, sorted.
std::vector<std::string> ScenarioNames(const std::filesystem::path& corpus);

// Reads the scenario in corpus/name; false and *error on a malformed file.
bool ReadScenario(const std::filesystem::path& corpus, const std::string& name,
                  const std::filesystem::path& projectDir, Scenario* scenario, std::string* error);
