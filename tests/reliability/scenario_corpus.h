// The scenario corpus of tests/scenarios/, read for the reliability tests: each
// scenario's input document and its device options.
#pragma once

#include "host_devmode.h"

#include <string>
#include <vector>

// The three conversion methods of the PrintTicket provider, by the ptbridge
// command that runs each.
enum class ConversionMethod { Ticket, Devmode, Capabilities };

inline constexpr ConversionMethod AllConversionMethods[] = {
    ConversionMethod::Ticket, ConversionMethod::Devmode, ConversionMethod::Capabilities};

const char* CommandName(ConversionMethod method);

// A scenario of the corpus (tests/scenarios/), read into memory.
struct LoadedScenario {
    std::string name;
    std::vector<ptbridge::OptionSelection> options;
    std::string input;               // the document text
    bool preserveWhiteSpace = false; // load it with its white space as written
};

// Every scenario of the corpus, sorted by name. Fails the calling test (and
// leaves out the scenario) when a scenario folder cannot be read.
std::vector<LoadedScenario> ReadScenarioCorpus();
