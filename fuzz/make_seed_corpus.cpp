// Writes the fuzzer's seed corpus from the scenario corpus and the bundled
// samples. Each seed is a header (the device options, one "Feature=Option" a
// line, and for some "#fail=K"), a NUL byte, and the document.
// usage: make_seed_corpus PROJECT-FOLDER OUT-FOLDER
#include "scenario_reader.h"

#include <fstream>
#include <iostream>

namespace fs = std::filesystem;

namespace {
bool WriteSeed(const fs::path& out, const std::string& name, const std::string& header,
               const fs::path& document) {
    std::ifstream input(document, std::ios::binary);
    std::ofstream seed(out / name, std::ios::binary);
    seed << header << '\0' << input.rdbuf();
    if (!input || !seed) {
        std::cerr << "make_seed_corpus: cannot make the seed " << name << " from " << document
                  << "\n";
        return false;
    }
    return true;
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_seed_corpus PROJECT-FOLDER OUT-FOLDER\n";
        return 2;
    }
    const fs::path project = argv[1];
    const fs::path out = argv[2];
    const fs::path corpus = project / "tests" / "scenarios";
    const fs::path samples = project / "examples";
    fs::remove_all(out);
    fs::create_directories(out);
    bool written = true;
    for (const std::string& name : ScenarioNames(corpus)) {
        Scenario scenario;
        std::string error;
        if (!ReadScenario(corpus, name, project, &scenario, &error)) {
            std::cerr << "make_seed_corpus: " << error << "\n";
            return 1;
        }
        std::string header;
        for (const ScenarioOption& option : scenario.options)
            header += (header.empty() ? "" : "\n") + option.Argument();
        written &= WriteSeed(out, name, header, scenario.input);
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(samples))
        if (entry.path().extension() == ".xml")
            written &= WriteSeed(out, "sample-" + entry.path().stem().string(), "PunchHole=3Holes",
                                 entry.path());
    // The sample ticket with a platform call failing early, midway and late.
    for (int call : {3, 40, 150})
        written &=
            WriteSeed(out, "sample-ticket-call-" + std::to_string(call) + "-fails",
                      "PunchHole=4Holes\n#fail=" + std::to_string(call), samples / "ticket.xml");
    return written ? 0 : 1;
}
