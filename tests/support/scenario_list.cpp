// Prints the scenario corpus for shell scripts, one scenario a line, its
// fields separated by tabs: the folder name, the HRESULT the conversion
// returns (0x........), then the ptbridge arguments that run it.
// usage: scenario_list PROJECT-FOLDER
#include "scenario_reader.h"

#include <cstdio>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: scenario_list PROJECT-FOLDER\n";
        return 2;
    }
    const std::filesystem::path project = argv[1];
    const std::filesystem::path corpus = project / "tests" / "scenarios";
    for (const std::string& name : ScenarioNames(corpus)) {
        Scenario scenario;
        std::string error;
        if (!ReadScenario(corpus, name, project, &scenario, &error)) {
            std::cerr << "scenario_list: " << error << "\n";
            return 1;
        }
        char result[16];
        std::snprintf(result, sizeof result, "0x%08X", static_cast<unsigned>(scenario.result));
        std::cout << name << '\t' << result;
        for (const std::string& argument : CommandArguments(scenario, scenario.input.string()))
            std::cout << '\t' << argument;
        std::cout << '\n';
    }
    return 0;
}
