// The README's console examples still run as written and print what the
// README shows. An example is a fenced block marked "console": each line that
// starts with "$ " is a command, run with sh in one scratch folder per block
// (holding a copy of examples/) with the built ptbridge first on PATH; the
// lines up to the next command are what it prints, standard error included.
// In an expected line, "..." stands for any text (a path that differs from
// machine to machine).
#include "cli_runner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace {
struct Example {
    std::string command;
    std::string expected;
    int line = 0; // of the command in README.md
};

std::vector<std::vector<Example>> ConsoleBlocks(const std::string& readme) {
    std::vector<std::vector<Example>> blocks;
    std::istringstream lines(readme);
    std::string line;
    bool inside = false;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (line.rfind("```", 0) == 0) {
            inside = !inside && line == "```console";
            if (inside)
                blocks.emplace_back();
        } else if (inside && line.rfind("$ ", 0) == 0) {
            blocks.back().push_back({line.substr(2), "", number});
        } else if (inside && !blocks.back().empty()) {
            blocks.back().back().expected += line + "\n";
        }
    }
    return blocks;
}

std::string WithoutTrailingBlankLines(std::string text) {
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

// Whether `actual` is `expected` line by line, "..." matching any text; blank
// lines at the end (which separate examples in the README) do not count.
bool Matches(std::string expected, std::string actual) {
    expected = WithoutTrailingBlankLines(expected);
    actual = WithoutTrailingBlankLines(actual);
    std::string pattern;
    size_t start = 0;
    for (size_t wildcard; (wildcard = expected.find("...", start)) != std::string::npos;
         start = wildcard + 3)
        pattern += std::regex_replace(expected.substr(start, wildcard - start),
                                      std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)") +
                   "[^\n]*";
    pattern +=
        std::regex_replace(expected.substr(start), std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
    return std::regex_match(actual, std::regex(pattern));
}

TEST(ReadmeExamplesTest, RunAsWrittenAndPrintWhatTheReadmeShows) {
    const fs::path source = PTBRIDGE_SOURCE_DIR;
    const auto blocks = ConsoleBlocks(ReadFile((source / "README.md").string()));
    ASSERT_FALSE(blocks.empty()) << "no console examples in README.md";
    const std::string path =
        fs::path(PTBRIDGE_CLI_PATH).parent_path().string() + ":" + std::getenv("PATH");
    for (const auto& block : blocks) {
        ScratchFolder folder;
        fs::copy(source / "examples", fs::path(folder.Path()) / "examples");
        for (const Example& example : block) {
            SCOPED_TRACE("README.md:" + std::to_string(example.line) + ": " + example.command);
            CliRun run = RunProgram(
                "/bin/sh", {"-c", "PATH='" + path + "'; { " + example.command + "\n} 2>&1"},
                folder.Path());
            EXPECT_TRUE(Matches(example.expected, run.out)) << run.out;
        }
    }
}
} // namespace
