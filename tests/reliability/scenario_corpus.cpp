#include "scenario_corpus.h"

#include "scenario_reader.h"

#include <gtest/gtest.h>

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

std::vector<LoadedScenario> ReadScenarioCorpus() {
    const fs::path project = PTBRIDGE_SOURCE_DIR;
    const fs::path corpus = project / "tests" / "scenarios";
    std::vector<LoadedScenario> loaded;
    for (const std::string& name : ScenarioNames(corpus)) {
        Scenario scenario;
        std::string error;
        if (!ReadScenario(corpus, name, project, &scenario, &error)) {
            ADD_FAILURE() << error;
            continue;
        }
        std::ifstream file(scenario.input, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        LoadedScenario entry{name, {}, text.str(), scenario.preserveWhiteSpace};
        for (const ScenarioOption& option : scenario.options)
            entry.options.push_back({option.feature, option.option});
        if (entry.input.empty())
            ADD_FAILURE() << name << ": no input document in " << scenario.input;
        else
            loaded.push_back(std::move(entry));
    }
    EXPECT_FALSE(loaded.empty()) << "no scenario found";
    return loaded;
}
