// A conversion the plug-in cannot complete, as the command reports it: the
// message names what the plug-in needed and did not find, --diff shows the
// edits made before the failure, and only --keep-partial writes the document.
#include "cli_runner.h"

#include <gtest/gtest.h>

namespace {
const std::string Root =
    R"(<psf:PrintTicket xmlns:psf="http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework")"
    R"( xmlns:psk="http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords")";
const std::string PrivateDeclaration =
    R"( xmlns:pv="http://ptbridge.example/printing/2005/08/printticket")";
const std::string Direction = R"(<psf:Feature name="pv:JobPresentationDirection"/>)";
const std::string NUp = R"(<psf:Feature name="psk:JobNUpAllDocumentsContiguously"/>)";
const std::string OutputBin = R"(<psf:Feature name="psk:JobOutputBin"/>)";

std::string Ticket(const std::string& body, const std::string& declarations = PrivateDeclaration) {
    return Root + declarations + ">" + body + "</psf:PrintTicket>\n";
}

struct FailureCase {
    const char* what;
    std::string document;
    std::string explanation; // what the message says after the result
};

TEST(CliFailureTest, TheMessageNamesWhatTheRuleDidNotFind) {
    const std::string keywords =
        "http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords";
    const std::vector<FailureCase> cases = {
        {"no private feature", Ticket(NUp),
         "no feature pv:JobPresentationDirection in namespace "
         "http://ptbridge.example/printing/2005/08/printticket at any depth"},
        {"private namespace not declared", Ticket(NUp, ""),
         "no feature JobPresentationDirection in namespace "
         "http://ptbridge.example/printing/2005/08/printticket: the root element declares no "
         "prefix for that namespace"},
        {"a feature without a name is passed over", Ticket("<psf:Feature/>" + Direction),
         "no feature psk:JobNUpAllDocumentsContiguously in namespace " + keywords +
             " at any depth to move pv:JobPresentationDirection into (it was left in place, "
             "renamed psk:PresentationDirection)"},
        {"keywords namespace not declared",
         R"(<psf:PrintTicket xmlns:psf="http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework")" +
             PrivateDeclaration + ">" + Direction + "</psf:PrintTicket>",
         "pv:JobPresentationDirection cannot be renamed PresentationDirection in namespace " +
             keywords + ": the root element declares no prefix for that namespace"},
        {"no parent feature", Ticket(Direction),
         "no feature psk:JobNUpAllDocumentsContiguously in namespace " + keywords +
             " at any depth to move pv:JobPresentationDirection into (it was left in place, "
             "renamed psk:PresentationDirection)"},
        {"the parent inside the private feature",
         Ticket(R"(<psf:Feature name="pv:JobPresentationDirection">)" + NUp + "</psf:Feature>"),
         "psk:JobNUpAllDocumentsContiguously lies inside pv:JobPresentationDirection, which "
         "cannot be moved into it (it was left in place, renamed psk:PresentationDirection)"},
        {"no output bin", Ticket(Direction + NUp),
         "no feature psk:JobOutputBin in namespace " + keywords + " at any depth"},
        {"no hole punch", Ticket(Direction + NUp + OutputBin),
         "no feature psk:JobHolePunch in namespace " + keywords + " at any depth"},
        {"no prefix for the hole count's xsi:type",
         Ticket(Direction + NUp + OutputBin +
                R"(<psf:Feature name="psk:JobHolePunch"><psf:Option/></psf:Feature>)"),
         "the value of the hole count cannot be written with namespace "
         "http://www.w3.org/2001/XMLSchema-instance: the root element declares no prefix for "
         "that namespace"},
        {"a prefix too long for the plug-in",
         Ticket(Direction, " xmlns:" + std::string(10000, 'p') +
                               "=\"http://ptbridge.example/printing/2005/08/printticket\""),
         "no feature JobPresentationDirection in namespace "
         "http://ptbridge.example/printing/2005/08/printticket: the root element's prefix for "
         "that namespace has 10000 characters; the plug-in refuses a prefix of 10000 or more "
         "(E_INVALIDARG)"},
        {"hole punch without an option",
         Ticket(Direction + NUp + OutputBin + R"(<psf:Feature name="psk:JobHolePunch"/>)"),
         "psk:JobHolePunch has no option"},
    };
    ScratchFolder folder;
    for (const FailureCase& failure : cases) {
        SCOPED_TRACE(failure.what);
        std::string input = folder.Write("ticket.xml", failure.document);
        CliRun run = RunCli({"ticket", input});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "ptbridge: ConvertDevModeToPrintTicket returned E_FAIL (0x80004005): " +
                               failure.explanation + "\n");
        EXPECT_EQ(run.out, "") << "a partial document was written without --keep-partial";
    }
}

TEST(CliFailureTest, TheEditsMadeBeforeTheFailureAreShownAndKeptOnlyWhenAsked) {
    ScratchFolder folder;
    std::string input = folder.Write("ticket.xml", Ticket(Direction + NUp));
    std::string output = folder.Write("out.xml", "previous content");

    CliRun diff = RunCli({"ticket", input, "--diff", "-o", output});
    EXPECT_EQ(diff.exitCode, 1);
    EXPECT_NE(diff.out.find("(after ConvertDevModeToPrintTicket, which failed)"), std::string::npos)
        << diff.out;
    EXPECT_NE(diff.out.find("+    <psf:Feature name=\"psk:PresentationDirection\"/>"),
              std::string::npos)
        << diff.out;
    EXPECT_EQ(ReadFile(output), "previous content");

    CliRun kept = RunCli({"ticket", input, "--keep-partial", "-o", output});
    EXPECT_EQ(kept.exitCode, 1);
    EXPECT_NE(ReadFile(output).find("psk:PresentationDirection"), std::string::npos);
    CliRun shown = RunCli({"ticket", input, "--keep-partial"});
    EXPECT_EQ(shown.out, ReadFile(output));
}
} // namespace
