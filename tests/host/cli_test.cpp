// The ptbridge command run as a separate process, as a user runs it.
#include "cli_runner.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
const std::string ExamplesDir = PTBRIDGE_EXAMPLES_DIR;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A well-formed ticket without the private presentation-direction feature,
// which the plug-in cannot convert.
const char* const TicketWithoutPrivateFeature = R"(<?xml version="1.0"?>
<psf:PrintTicket xmlns:psf="http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework"
                 xmlns:psk="http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords"
                 version="1">
  <psf:Feature name="psk:JobHolePunch"><psf:Option name="psk:LeftEdge"/></psf:Feature>
</psf:PrintTicket>
)";

TEST(CliInfoTest, ShowsThePluginIdentity) {
    CliRun run = RunCli({"info"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "\"QVQV\" (0x56515651)")) << run.out;
    EXPECT_TRUE(Contains(run.out, "version:              1")) << run.out;
    EXPECT_TRUE(Contains(run.out, "0x00000001 (IPrintCoreHelper)")) << run.out;
    EXPECT_TRUE(Contains(run.out, "supported versions:   1\n")) << run.out;
    EXPECT_TRUE(Contains(run.out, "http://ptbridge.example/printing/2005/08/printticket"))
        << run.out;
    EXPECT_TRUE(Contains(run.out, "12 bytes")) << run.out;
    EXPECT_TRUE(Contains(run.out, "0c 00 00 00 51 56 51 56 01 00 00 00")) << run.out;
    EXPECT_EQ(run.err, "");
}

TEST(CliInfoTest, AnUnloadableModuleIsNamedWithExitCode3) {
    CliRun run = RunCli({"info", "--plugin", "/nonexistent/libother.so"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(Contains(run.err, "cannot load plug-in module '/nonexistent/libother.so'"))
        << run.err;
    EXPECT_EQ(run.out, "");
}

TEST(CliInfoTest, AnInstalledCopyLoadsTheModuleBesideIt) {
    ScratchFolder folder;
    std::string program = folder.File("ptbridge");
    std::filesystem::copy_file(PTBRIDGE_CLI_PATH, program);
    // Beside it lies a file that is no module: failing on it shows that this
    // is the module the copy chose.
    std::string beside = folder.Write("libptbridge.so", "not a module");
    CliRun run = RunProgram(program, {"info"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(Contains(run.err, "cannot load plug-in module '" + beside + "'")) << run.err;
}

TEST(CliConversionTest, TicketRunsThroughTheModuleWithTheStoredDeviceOptions) {
    // Run from another folder: the bundled sample and the module are found anyway.
    CliRun run = RunCli({"ticket", "--option", "PunchHole=3Holes", "--option", "Punch=Left"}, "/");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(Contains(run.out, "<?xml")) << run.out;
    // The hole count comes from the options stored in the host's DEVMODE.
    EXPECT_TRUE(Contains(run.out, "psk:HoleCount")) << run.out;
    EXPECT_TRUE(Contains(run.out, ">3</psf:Value>")) << run.out;
    EXPECT_TRUE(Contains(run.out, "psk:PresentationDirection")) << run.out;
}

TEST(CliConversionTest, EachCommandHasASampleOfItsOwn) {
    CliRun capabilities = RunCli({"capabilities"});
    ASSERT_EQ(capabilities.exitCode, 0) << capabilities.err;
    EXPECT_TRUE(Contains(capabilities.out, "psf:PrintCapabilities")) << capabilities.out;
    EXPECT_TRUE(Contains(capabilities.out, "pv:Tray")) << capabilities.out;

    CliRun devmode = RunCli({"devmode"});
    ASSERT_EQ(devmode.exitCode, 0) << devmode.err;
    EXPECT_TRUE(Contains(devmode.out, "pv:JobPresentationDirection")) << devmode.out;
}

TEST(CliConversionTest, APluginFailureIsReportedByNameAndValueAndWritesNothing) {
    ScratchFolder folder;
    std::string input = folder.Write("ticket.xml", TicketWithoutPrivateFeature);
    std::string output = folder.Write("result.xml", "previous content");
    CliRun run = RunCli({"ticket", input, "-o", output});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(Contains(run.err, "ConvertDevModeToPrintTicket returned E_FAIL (0x80004005)"))
        << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(ReadFile(output), "previous content");
    EXPECT_EQ(folder.Entries().size(), 2u); // no temporary file left behind
}

TEST(CliConversionTest, OutputFileReceivesTheDocumentThatStdoutWouldShow) {
    ScratchFolder folder;
    std::string output = folder.File("ticket-out.xml");
    CliRun toFile = RunCli({"ticket", ExamplesDir + "/ticket.xml", "-o", output});
    ASSERT_EQ(toFile.exitCode, 0) << toFile.err;
    EXPECT_EQ(toFile.out, "");
    CliRun toStdout = RunCli({"ticket", ExamplesDir + "/ticket.xml"});
    ASSERT_EQ(toStdout.exitCode, 0) << toStdout.err;
    EXPECT_EQ(ReadFile(output), toStdout.out);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"ticket-out.xml"});

    CliRun unwritable = RunCli({"ticket", "-o", folder.File("missing/out.xml")});
    EXPECT_EQ(unwritable.exitCode, 2);
    EXPECT_TRUE(Contains(unwritable.err, "cannot write")) << unwritable.err;
}

TEST(CliConversionTest, DiffShowsOnlyWhatTheConversionChanged) {
    CliRun run = RunCli({"capabilities", "--diff"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.rfind("--- capabilities.xml (before)\n+++ capabilities.xml (after", 0), 0u)
        << run.out;
    EXPECT_TRUE(Contains(run.out, "\n@@ -")) << run.out;
    EXPECT_TRUE(Contains(run.out, "\n+")) << run.out;
    EXPECT_TRUE(Contains(run.out, "psk:BinType")) << run.out;
    // Lines the conversion did not touch appear only as context.
    EXPECT_FALSE(Contains(run.out, "psk:MediaSizeHeight")) << run.out;
    // Not a terminal: no colour.
    EXPECT_FALSE(Contains(run.out, "\033[")) << run.out;
}

TEST(CliConversionTest, DiffIgnoresTheBlankTextThatRemovedElementsLeaveBehind) {
    // Restoring the output bin removes the only child of its option.
    CliRun run = RunCli({"devmode", "--diff"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "-      <psf:ScoredProperty name=\"psk:BinType\">")) << run.out;
    EXPECT_TRUE(Contains(run.out, "+    <psf:Option name=\"pv:Finisher\"/>")) << run.out;
    size_t start = 0;
    while (start < run.out.size()) {
        size_t end = run.out.find('\n', start);
        std::string line = run.out.substr(start, end - start);
        EXPECT_NE(line.find_first_not_of(" +-"), std::string::npos) << "blank diff line";
        start = end + 1;
    }
}

TEST(CliInputTest, AMissingFileIsNamed) {
    CliRun run = RunCli({"ticket", "/nonexistent/ticket.xml"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(
        Contains(run.err, "cannot read '/nonexistent/ticket.xml': No such file or directory"))
        << run.err;
    EXPECT_EQ(run.out, "");
}

TEST(CliInputTest, MalformedXmlIsReportedWithLineAndColumn) {
    ScratchFolder folder;
    std::string broken = folder.Write("broken.xml", "<?xml version=\"1.0\"?>\n<a>\n  <b></a>\n");
    CliRun run = RunCli({"ticket", broken});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(Contains(run.err, broken + ":3:")) << run.err;
    EXPECT_TRUE(Contains(run.err, "XML error")) << run.err;

    std::string undeclared = folder.Write("undeclared.xml", "<psf:PrintTicket version=\"1\"/>\n");
    run = RunCli({"capabilities", undeclared});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(Contains(run.err, undeclared + ":1:")) << run.err;
    EXPECT_TRUE(Contains(run.err, "psf")) << run.err;
}

// --version prints the command's version and then the module's identity,
// wherever --plugin stands; a module that cannot be loaded leaves the first line.
TEST(CliVersionTest, NamesTheCommandsVersionAndTheModules) {
    const std::string commandLine = "ptbridge " PTBRIDGE_PROJECT_VERSION "\n";
    const std::string moduleLine =
        "plug-in module " PTBRIDGE_MODULE_PATH ": signature \"QVQV\" (0x56515651), version 1\n";
    const std::string missing = "/nonexistent/libother.so";
    const std::string notLoaded = "ptbridge: cannot load plug-in module '" + missing + "'";
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string out;
        std::string errStart; // empty: nothing on stderr
    } cases[] = {
        {{"--version"}, 0, commandLine + moduleLine, ""},
        {{"--plugin", PTBRIDGE_MODULE_PATH, "--version"}, 0, commandLine + moduleLine, ""},
        {{"info", "--version"}, 0, commandLine + moduleLine, ""},
        {{"--plugin", missing, "--version"}, 3, commandLine, notLoaded},
        {{"--version", "--plugin", missing}, 3, commandLine, notLoaded},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        CliRun run = RunCli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err.substr(0, c.errStart.size()), c.errStart);
        EXPECT_EQ(run.err.empty(), c.errStart.empty()) << run.err;
    }
}
} // namespace
