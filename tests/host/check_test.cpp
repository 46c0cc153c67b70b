// ptbridge check: documents and devices, each with the exit status check gives
// and lines its report must hold (every requirement missing named in one run,
// the warnings, the suggestion of --private-namespace).
#include "cli_runner.h"
#include "print_schema_root.h"

#include <gtest/gtest.h>

namespace {
const std::string Direction = R"(<psf:Feature name="pv:JobPresentationDirection"/>)";
const std::string NUp = R"(<psf:Feature name="psk:JobNUpAllDocumentsContiguously"/>)";
const std::string OutputBin =
    R"(<psf:Feature name="psk:JobOutputBin"><psf:Option name="pv:Center"/></psf:Feature>)";
const std::string HolePunch =
    R"(<psf:Feature name="psk:JobHolePunch"><psf:Option name="psk:LeftEdge"/></psf:Feature>)";
const std::string Everything = "\n" + Direction + "\n" + NUp + "\n" + OutputBin + "\n" + HolePunch;

std::string Ticket(const std::string& body,
                   const std::string& declarations = PrintSchemaDeclarations() +
                                                     Declaration("pv", PrivateUri)) {
    return PrintSchemaRoot(declarations).Ticket(body);
}

const std::string DevicePrefix = "*PrintSchemaPrivateNamespaceURI: \"" + PrivateUri +
                                 "\"\n"
                                 "*Feature: JobPresentationDirection { *DefaultOption: A "
                                 "*Option: A { } }\n";

struct CheckCase {
    const char* what;
    std::string document; // empty: the device alone
    std::vector<std::string> arguments;
    int exitCode;
    std::vector<std::string> lines; // each must be in the report
    std::string device = "";        // a GPD for --device
};

TEST(CheckTest, NamesEveryRequirementAndWarningInOneRun) {
    const std::string longPrefix(10000, 'p');
    const std::vector<CheckCase> cases = {
        {"a ticket ready for ticket",
         Ticket(Everything),
         {"--for", "ticket"},
         0,
         {"a PrintTicket, ready",
          "ticket (ConvertDevModeToPrintTicket) would return S_OK (0x00000000); every requirement "
          "met",
          "      met      line 2: feature pv:JobPresentationDirection",
          "      met      line 5: an option in psk:JobHolePunch"}},
        {"every missing feature at once",
         Ticket(""),
         {"--for", "ticket"},
         1,
         {"would return E_FAIL (0x80004005)",
          "MISSING  line 1: feature pv:JobPresentationDirection",
          "MISSING  line 1: feature psk:JobNUpAllDocumentsContiguously",
          "MISSING  line 1: feature psk:JobOutputBin",
          "MISSING  line 1: feature psk:JobHolePunch"}},
        {"no private prefix: nothing private can be found or restored",
         Ticket(NUp, PrintSchemaDeclarations()),
         {},
         1,
         {"feature {" + PrivateUri +
              "}JobPresentationDirection: no feature "
              "JobPresentationDirection in namespace " +
              PrivateUri + ": the root element declares no prefix for that namespace",
          "MISSING  line 1: a root prefix for namespace " + PrivateUri +
              " (to rename it JobPresentationDirection)"}},
        {"a prefix too long for the plug-in",
         Ticket("", PrintSchemaDeclarations() + Declaration(longPrefix, PrivateUri)),
         {},
         1,
         {"the root element's prefix for that namespace has 10000 characters; the plug-in "
          "refuses a prefix of 10000 or more (E_INVALIDARG)"}},
        {"the optional output bins are absent, the ticket still converts",
         Ticket(Direction + NUp + R"(<psf:Feature name="psk:JobOutputBin"/>)" + HolePunch),
         {"--for", "ticket"},
         0,
         {"absent   line 1: option pv:Finisher in psk:JobOutputBin: no option pv:Finisher (by its "
          "name or its OptionName) in psk:JobOutputBin: it gets no bin type psk:Stacker"}},
        {"a bin type outside the table is not restored",
         Ticket(R"(<psf:Feature name="psk:JobOutputBin"><psf:Option>
<psf:ScoredProperty name="psk:BinType"><psf:Value>psk:Tray</psf:Value></psf:ScoredProperty>
</psf:Option></psf:Feature>)"),
         {"--for", "devmode"},
         1,
         {"would return S_OK (0x00000000)",
          "MISSING  line 2: a bin type of the table, pv:Tray or psk:Stacker: the bin type "
          "'psk:Tray' is neither pv:Tray nor psk:Stacker"}},
        {"text matching that acts on what the author did not mean",
         Ticket(Everything + R"(
<psf:Feature name="psk:JobNUpAllDocumentsContiguously" xmlns:psk="urn:other"/>
<psf:Feature name="psk:JobOutputBin"/>)",
                PrintSchemaDeclarations() + Declaration("pv", PrivateUri) +
                    Declaration("k2", KeywordsUri)),
         {"--for", "ticket"},
         0,
         {"warning: line 1: the root binds the keywords namespace to psk, k2: the rules match "
          "and write names with psk: only",
          "warning: line 6: the prefix psk, which the rules use for " + KeywordsUri +
              ", is bound to urn:other here",
          "warning: line 7: a second psk:JobOutputBin: the rules edit only the first, on line 4"}},
        {"a hole count and a presentation direction already there",
         Ticket(
             "\n" + Direction + "\n" +
             R"(<psf:Feature name="psk:JobNUpAllDocumentsContiguously"><psf:Feature name="psk:PresentationDirection"/></psf:Feature>)" +
             "\n" + OutputBin + "\n" +
             R"(<psf:Feature name="psk:JobHolePunch"><psf:Option><psf:ScoredProperty name="psk:HoleCount"/></psf:Option></psf:Feature>)"),
         {"--for", "ticket"},
         0,
         {"warning: line 3: psk:PresentationDirection is already inside "
          "psk:JobNUpAllDocumentsContiguously: publishing appends a second one",
          "warning: line 5: psk:HoleCount is already present"}},
        {"another driver's private namespace",
         Ticket(Everything, PrintSchemaDeclarations() + Declaration("ns0", "http://vendor/pt")),
         {},
         1,
         {"suggestion: line 1: the document declares http://vendor/pt, which looks like a "
          "driver's private namespace, and not the plug-in's " +
          PrivateUri + ": to read it as the plug-in's, add --private-namespace http://vendor/pt"}},
        {"read as the plug-in's namespace",
         Ticket(Everything, PrintSchemaDeclarations() + Declaration("pv", "http://vendor/pt")),
         {"--for", "ticket", "--private-namespace", "http://vendor/pt"},
         0,
         {"every requirement met"}},
        {"a document of no Print Schema kind",
         "<a/>",
         {},
         2,
         {"cannot be checked: ", "the root element is no Print Schema document"}},
        {"a device that spells its options its own way",
         "",
         {"--device", "my.gpd"},
         1,
         {"MISSING  my.gpd:4: PunchHole option 3holes: PunchHole option 3holes gives 0 holes: "
          "the plug-in counts only 2Holes, 3Holes and 4Holes, compared byte for byte (did you "
          "mean 3Holes?)",
          "MISSING  my.gpd:3: Punch option NONE (turns punching off): Punch has no option NONE: "
          "None is not NONE to the plug-in, which compares byte for byte",
          "absent   my.gpd: feature OutputBin (psk:JobOutputBin)"},
         DevicePrefix + "*Feature: Punch { *DefaultOption: None *Option: None { } }\n"
                        "*Feature: PunchHole { *DefaultOption: 3holes *Option: 3holes { } "
                        "*Option: 2Holes { } }\n"},
        {"a device in another namespace",
         "",
         {"--device", "my.gpd"},
         1,
         {"MISSING  my.gpd: *PrintSchemaPrivateNamespaceURI " + PrivateUri +
          " (the plug-in's, from BindPrinter): the device's private namespace is http://other"},
         "*PrintSchemaPrivateNamespaceURI: \"http://other\"\n"},
    };
    ScratchFolder folder;
    for (const CheckCase& check : cases) {
        SCOPED_TRACE(check.what);
        std::vector<std::string> arguments = {"check"};
        if (!check.document.empty())
            arguments.push_back(folder.Write("document.xml", check.document));
        if (!check.device.empty())
            folder.Write("my.gpd", check.device);
        arguments.insert(arguments.end(), check.arguments.begin(), check.arguments.end());
        CliRun run = RunCli(arguments, folder.Path());
        EXPECT_EQ(run.exitCode, check.exitCode) << run.out << run.err;
        for (const std::string& line : check.lines)
            EXPECT_NE(run.out.find(line), std::string::npos) << line << "\nin:\n" << run.out;
    }
}

TEST(CheckTest, JsonIsOneObjectALineForEachDocument) {
    ScratchFolder folder;
    std::string ready = folder.Write("ready.xml", Ticket(Everything));
    std::string broken = folder.Write("broken.xml", "<a>");
    CliRun run = RunCli({"check", ready, broken, "--format", "json", "--for", "ticket"});
    EXPECT_EQ(run.exitCode, 2);
    size_t newline = run.out.find('\n');
    ASSERT_NE(newline, std::string::npos);
    const std::string first = run.out.substr(0, newline);
    const std::string second = run.out.substr(newline + 1);
    EXPECT_EQ(first.rfind("{\"file\":\"" + ready +
                              "\",\"root\":\"PrintTicket\",\"ready\":true,"
                              "\"conversions\":[{\"command\":\"ticket\",\"method\":"
                              "\"ConvertDevModeToPrintTicket\",\"result\":\"0x00000000\"",
                          0),
              0u)
        << first;
    EXPECT_NE(first.find("\"device\":{\"source\":\"packaging/windows/ptbridge.gpd (built in)\""),
              std::string::npos);
    EXPECT_EQ(second.rfind("{\"file\":\"" + broken + "\",\"error\":\"" + broken + ":1:4: XML", 0),
              0u)
        << second;
    EXPECT_EQ(second.back(), '\n');
    EXPECT_EQ(second.find('\n'), second.size() - 1);
}
} // namespace
