// How the command meets its user: device options checked against the device,
// commands and help, input of the wrong kind, colour and timing.
#include "cli_runner.h"
#include "near_match.h"

#include <gtest/gtest.h>

using namespace ptbridge;

namespace {
bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

struct Refusal {
    std::vector<std::string> args;
    std::string message; // the whole line after "ptbridge: "
};

TEST(CliUsageTest, MistakesAreRefusedWithALineThatNamesThem) {
    const std::vector<Refusal> refusals = {
        {{"tick"},
         "unknown command 'tick' (did you mean 'ticket'?); the commands are ticket, "
         "capabilities, devmode, info, check and help"},
        {{"help", "devmod"},
         "unknown command 'devmod' (did you mean 'devmode'?); the commands are ticket, "
         "capabilities, devmode, info, check and help"},
        {{},
         "a command is required: ticket, capabilities, devmode, info, check or help (see "
         "'ptbridge "
         "--help')"},
        {{"ticket", "--option", "Foo=Bar"},
         "--option 'Foo=Bar': unknown feature 'Foo'; valid: InputBin, PaperSize, Resolution, "
         "JobPresentationDirection, OutputBin, Punch, PunchHole"},
        {{"ticket", "--option", "PunchHole=3holes"},
         "--option 'PunchHole=3holes': unknown PunchHole option '3holes' (did you mean "
         "'3Holes'?); valid: None, 2Holes, 3Holes, 4Holes"},
        {{"ticket", "--option", "PunchHole=3Holes=x"},
         "--option 'PunchHole=3Holes=x': unknown PunchHole option '3Holes=x' (did you mean "
         "'3Holes'?); valid: None, 2Holes, 3Holes, 4Holes"},
        {{"ticket", "--option", "punch=NONE"},
         "--option 'punch=NONE': unknown feature 'punch' (did you mean 'Punch'?); valid: "
         "InputBin, PaperSize, Resolution, JobPresentationDirection, OutputBin, Punch, PunchHole"},
        {{"ticket", "--option", "Punch=NONE", "--option", "Punch=Left"},
         "--option 'Punch=Left': Punch is already set to 'NONE'"},
        {{"ticket", "--option", "PunchHole"},
         "--option 'PunchHole' is not of the form Feature=Option"},
        {{"ticket", "--option", "=3Holes"}, "--option '=3Holes' is not of the form Feature=Option"},
        {{"print"},
         "unknown command 'print'; the commands are ticket, capabilities, devmode, info, check and "
         "help"},
        {{"devmode", "--option", "PunchHole=3Holes"},
         "--option: the devmode command takes no device options; only ticket builds a DEVMODE "
         "from them"},
        {{"--color=sometimes", "ticket"}, "--color 'sometimes': expected auto, always or never"},
        {{"ticket", ""},
         "FILE is empty: name a document, - for standard input, or give no FILE for the bundled "
         "sample"},
        {{"ticket", "-o", ""}, "-o is given an empty name: name a file, or - for standard output"},
        {{"ticket", "--optoin=PunchHole=None"},
         "unknown option '--optoin' for ticket (did you mean '--option'?); see 'ptbridge help "
         "ticket'"},
        {{"capabilities", "--dif"},
         "unknown option '--dif' for capabilities (did you mean '--diff'?); see 'ptbridge help "
         "capabilities'"},
        {{"-v"}, "unknown option '-v' (did you mean '--version'?); see 'ptbridge --help'"},
        {{"info", "--option", "X"}, "unknown option '--option' for info; see 'ptbridge help info'"},
        {{"devmode", "a.xml", "b.xml"},
         "unexpected argument 'b.xml' for devmode; see 'ptbridge help devmode'"},
    };
    for (const Refusal& refusal : refusals) {
        CliRun run = RunCli(refusal.args);
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_EQ(run.err, "ptbridge: " + refusal.message + "\n");
        EXPECT_EQ(run.out, "");
    }
}

TEST(CliUsageTest, ADocumentOfTheWrongKindOrNoneIsRefused) {
    ScratchFolder folder;
    std::string ticket = folder.Write(
        "ticket.xml", "<psf:PrintTicket xmlns:psf=\"http://schemas.microsoft.com/windows/2003/"
                      "08/printing/printschemaframework\"/>");
    CliRun wrongKind = RunCli({"capabilities", ticket});
    EXPECT_EQ(wrongKind.exitCode, 2);
    EXPECT_EQ(wrongKind.err, "ptbridge: " + ticket +
                                 ": the root element is <psf:PrintTicket>; the capabilities "
                                 "command takes a PrintCapabilities in namespace "
                                 "http://schemas.microsoft.com/windows/2003/08/printing/"
                                 "printschemaframework\n");
    std::string html = folder.Write("page.xml", "<html/>");
    CliRun foreign = RunCli({"ticket", html});
    EXPECT_EQ(foreign.exitCode, 2);
    EXPECT_TRUE(Contains(foreign.err, "the root element is <html> in no namespace; the ticket "
                                      "command takes a PrintTicket"))
        << foreign.err;
    std::string blank = folder.Write("blank.xml", " \n\t\n");
    CliRun empty = RunCli({"devmode", blank});
    EXPECT_EQ(empty.exitCode, 2);
    EXPECT_EQ(empty.err, "ptbridge: " + blank + " is empty: there is no document to convert\n");
}

TEST(CliUsageTest, DashReadsTheDocumentFromStandardInput) {
    CliStreams streams;
    streams.stdinPath = std::string(PTBRIDGE_EXAMPLES_DIR) + "/capabilities.xml";
    CliRun piped = RunCli({"capabilities", "-", "--diff"}, "", streams);
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(piped.out.rfind("--- standard input (before)\n", 0), 0u) << piped.out;
    CliRun named = RunCli({"capabilities", streams.stdinPath});
    EXPECT_EQ(RunCli({"capabilities", "-"}, "", streams).out, named.out);

    streams.stdinPath = "/dev/null";
    CliRun empty = RunCli({"ticket", "-"}, "", streams);
    EXPECT_EQ(empty.exitCode, 2);
    EXPECT_EQ(empty.err, "ptbridge: standard input is empty: there is no document to convert\n");
}

TEST(CliUsageTest, HelpNamesTheCommandsTheirSamplesAndTheColourSetting) {
    CliRun help = RunCli({"help"});
    EXPECT_EQ(help.exitCode, 0);
    CliRun dashHelp = RunCli({"--help"});
    EXPECT_EQ(dashHelp.exitCode, 0);
    EXPECT_EQ(help.out, dashHelp.out);
    for (const char* part :
         {"ticket", "capabilities", "devmode", "info", "--color WHEN", "NO_COLOR", "Exit status"})
        EXPECT_TRUE(Contains(help.out, part)) << part;

    CliRun ticket = RunCli({"help", "ticket"});
    EXPECT_EQ(ticket.exitCode, 0);
    EXPECT_TRUE(Contains(ticket.out, "Usage: ptbridge ticket")) << ticket.out;
    EXPECT_TRUE(Contains(ticket.out, "bundled sample ticket.xml")) << ticket.out;
    EXPECT_TRUE(Contains(RunCli({"devmode", "--help"}).out, "bundled sample client_ticket.xml"));
    EXPECT_TRUE(Contains(RunCli({"help", "capabilities"}).out, "bundled sample capabilities.xml"));
    // No parser type names such as "FILE TEXT".
    EXPECT_FALSE(Contains(ticket.out, "TEXT")) << ticket.out;
}

TEST(CliUsageTest, ColourOnlyWhenAskedOrOnATerminal) {
    EXPECT_TRUE(Contains(RunCli({"--color=always", "capabilities", "--diff"}).out, "\033["));
    EXPECT_TRUE(Contains(RunCli({"capabilities", "--diff", "--color", "always"}).out, "\033["));
    // Standard output is a file here.
    EXPECT_FALSE(Contains(RunCli({"capabilities", "--diff"}).out, "\033["));
    EXPECT_FALSE(Contains(RunCli({"--color=never", "capabilities", "--diff"}).out, "\033["));
}

TEST(CliUsageTest, TimeReportsEachStepOnStandardError) {
    CliRun timed = RunCli({"ticket", "--time"});
    EXPECT_EQ(timed.exitCode, 0);
    EXPECT_EQ(timed.out, RunCli({"ticket"}).out);
    EXPECT_EQ(timed.err.rfind("ptbridge: time: load ", 0), 0u) << timed.err;
    EXPECT_TRUE(Contains(timed.err, " ms, ConvertDevModeToPrintTicket ")) << timed.err;
    EXPECT_TRUE(Contains(timed.err, "% of the ")) << timed.err;
}

TEST(NearestMatchTest, SuggestsOnlyAClearFavourite) {
    const std::vector<std::string> options = {"None", "2Holes", "3Holes", "4Holes"};
    EXPECT_EQ(NearestMatch("none", options), "None");
    EXPECT_EQ(NearestMatch("3holes", options), "3Holes");
    EXPECT_EQ(NearestMatch("3Hole", options), "3Holes");
    EXPECT_EQ(NearestMatch("5Holes", options), ""); // three candidates as near
    EXPECT_EQ(NearestMatch("Staple", options), "");
    EXPECT_EQ(NearestMatch("cap", {"ticket", "capabilities", "devmode"}), "capabilities");
}
} // namespace
