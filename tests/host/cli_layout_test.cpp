// How the command loads white space and lays out what it writes: by default
// the document is loaded as MSXML 6 loads it and written re-indented, one
// element per line; --preserve-whitespace keeps the white space as written and
// writes the document as the conversion left it.
#include "cli_runner.h"
#include "pretty_xml.h"

#include <gtest/gtest.h>

#include <regex>

using namespace ptbridge;

namespace {
const std::string Sample = ReadFile(PTBRIDGE_EXAMPLES_DIR "/capabilities.xml");

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string WithoutLayout(const std::string& xml) {
    return std::regex_replace(xml, std::regex(R"(>\s+<)"), "><");
}

// The command's output for `input` with `flags`, on standard output and, the
// same, through -o.
std::string Convert(const ScratchFolder& folder, const std::string& input,
                    const std::vector<std::string>& flags) {
    std::vector<std::string> arguments = {"capabilities", input};
    arguments.insert(arguments.end(), flags.begin(), flags.end());
    CliRun run = RunCli(arguments);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::string output = folder.File("output.xml");
    arguments.insert(arguments.end(), {"-o", output});
    EXPECT_EQ(RunCli(arguments).exitCode, 0);
    EXPECT_EQ(ReadFile(output), run.out) << "-o and standard output differ";
    return run.out;
}

TEST(CliLayoutTest, TheDefaultWritesOneElementPerLineAndTheFlagKeepsTheLayout) {
    struct Case {
        const char* name;
        std::string document;
    };
    const Case cases[] = {
        {"indented", Sample},
        {"on one line", WithoutLayout(Sample)},
        {"with tabs and CRLF", std::regex_replace(Sample, std::regex("\n  "), "\r\n\t")},
    };
    const std::string publishedBin =
        "      </psf:Property>\n"
        "      <psf:ScoredProperty name=\"psk:BinType\">\n"
        "        <psf:Value xsi:type=\"xsd:QName\">pv:Tray</psf:Value>\n"
        "      </psf:ScoredProperty>\n";
    ScratchFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string input = folder.Write("input.xml", c.document);
        const std::string laidOut = Convert(folder, input, {});
        const std::string asLeft = Convert(folder, input, {"--preserve-whitespace"});
        EXPECT_TRUE(Contains(laidOut, publishedBin)) << laidOut;
        EXPECT_EQ(laidOut, PrettyPrintXml(asLeft)) << "the two modes differ in more than layout";
        EXPECT_EQ(asLeft.find('\r'), std::string::npos) << asLeft;

        // --diff re-indents both documents in either mode: only the edits show.
        CliRun diff = RunCli({"capabilities", input, "--diff"});
        CliRun diffPreserved = RunCli({"capabilities", input, "--diff", "--preserve-whitespace"});
        EXPECT_EQ(diff.exitCode, 0) << diff.err;
        EXPECT_TRUE(Contains(diff.out, "\n+        <psf:Value xsi:type=\"xsd:QName\">pv:Tray"))
            << diff.out;
        EXPECT_EQ(diffPreserved.out, diff.out);
    }
    // With the flag a document written on one line stays on one line.
    const std::string oneLine = Convert(folder, folder.Write("input.xml", WithoutLayout(Sample)),
                                        {"--preserve-whitespace"});
    EXPECT_TRUE(Contains(oneLine,
                         "</psf:Property><psf:ScoredProperty name=\"psk:BinType\"><psf:Value "
                         "xsi:type=\"xsd:QName\">pv:Tray</psf:Value>"))
        << oneLine;
}

TEST(CliLayoutTest, LayoutThatIsContentIsWrittenAsItStands) {
    const std::string preserved =
        "<psf:Feature name=\"pv:Note\" xml:space=\"preserve\">\n\t<psf:Option name=\"pv:A\"/>  "
        "</psf:Feature>";
    const std::string mixed =
        "<psf:Value xsi:type=\"xsd:string\">two\n<!-- c --> parts</psf:Value>";
    std::string document = Sample;
    const std::string end = "</psf:PrintCapabilities>";
    document.insert(document.rfind(end),
                    preserved + "<psf:Property name=\"pv:Remark\">" + mixed + "</psf:Property>");
    ScratchFolder folder;
    const std::string output = Convert(folder, folder.Write("input.xml", document), {});
    EXPECT_TRUE(Contains(output, "\n  " + preserved + "\n")) << output;
    EXPECT_TRUE(Contains(output, "\n  <psf:Property name=\"pv:Remark\">\n    " + mixed +
                                     "\n  </psf:Property>\n"))
        << output;
}

TEST(CliLayoutTest, EachConversionExplainsTheFlag) {
    for (const char* command : {"ticket", "capabilities", "devmode"}) {
        CliRun help = RunCli({"help", command});
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_TRUE(Contains(help.out, "--preserve-whitespace")) << help.out;
        EXPECT_TRUE(Contains(help.out, "as MSXML 6 does")) << help.out;
    }
}
} // namespace
