// devmode reports on standard error what the plug-in restored and what it
// could not, and why, while its exit status stays the plug-in's; --diff says
// when nothing changed.
#include "cli_runner.h"
#include "print_schema_root.h"

#include <gtest/gtest.h>

namespace {
TEST(CliDevmodeReportTest, SaysWhatWasRestoredAndWhatCouldNotBe) {
    ScratchFolder folder;
    // No prefix for the private namespace: the public direction stays as it is.
    std::string input = folder.Write(
        "ticket.xml",
        PrintSchemaRoot(PrintSchemaDeclarations())
            .Ticket(R"(<psf:Feature name="psk:JobNUpAllDocumentsContiguously">)"
                    R"(<psf:Feature name="psk:PresentationDirection"/></psf:Feature>)"));
    CliRun run = RunCli({"devmode", input, "--diff"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "ptbridge: did not restore the presentation direction: "
                       "psk:PresentationDirection cannot be renamed JobPresentationDirection in "
                       "namespace " +
                           PrivateUri +
                           ": the root element declares no prefix for that namespace\n"
                           "ptbridge: did not restore the output bin: no feature "
                           "psk:JobOutputBin in namespace " +
                           KeywordsUri + " at any depth\n");
    EXPECT_EQ(run.out, "no change: ConvertPrintTicketToDevMode left the document as it was\n");
}
} // namespace
