// Announcing the known output bins by bin type, and naming a ticket's chosen
// bin back from its bin type.
#include "mapping_test.h"

#include "canonical_xml.h"
#include "plugin/print_ticket_provider.h"

using namespace ptbridge;

namespace {
const Rule Publish = PrintTicketProvider::PublishOutputBinTypes;
const Rule Restore = PrintTicketProvider::RestoreOutputBinOptions;

std::string OutputBin(const std::string& options) {
    return R"(<psf:Feature name="psk:JobOutputBin">)" + options + "</psf:Feature>";
}

std::string Option(const std::string& name, const std::string& content = "") {
    return R"(<psf:Option name=")" + name + R"(">)" + content + "</psf:Option>";
}

std::string BinType(const std::string& text) {
    return R"(<psf:ScoredProperty name="psk:BinType"><psf:Value xsi:type="xsd:QName">)" + text +
           "</psf:Value></psf:ScoredProperty>";
}

// An option named only by its "OptionName" scored property.
std::string UnnamedOption(const std::string& optionName, const std::string& content) {
    return R"(<psf:Option><psf:ScoredProperty name="psf:OptionName">)"
           R"(<psf:Value xsi:type="xsd:string">)" +
           optionName + "</psf:Value></psf:ScoredProperty>" + content + "</psf:Option>";
}

const std::string UpperOption = Option("pv:Upper");
const std::string Capacity =
    R"(<psf:Property name="psk:Capacity"><psf:Value xsi:type="xsd:integer">100</psf:Value>)"
    R"(</psf:Property>)";

const std::string BinsCapabilities = Documents.Capabilities(
    OutputBin(UpperOption + Option("pv:Center", Capacity) + Option("pv:Finisher")));
const std::string PublishedCapabilities = Documents.Capabilities(
    OutputBin(UpperOption + Option("pv:Center", Capacity + BinType("pv:Tray")) +
              Option("pv:Finisher", BinType("psk:Stacker"))));

// A private namespace prefix of `length` characters.
std::string LongPrefix(size_t length) {
    return std::string(length, 'p');
}
} // namespace

using PublishOutputBinTypesTest = MappingTest;

TEST_F(PublishOutputBinTypesTest, AppendsTheTableBinTypeToCenterAndFinisherOnly) {
    const std::string holePunchOnly = Documents.Ticket(R"(<psf:Feature name="psk:JobHolePunch"/>)");
    const std::string noKnownOptions =
        Documents.Ticket(OutputBin(UpperOption + Option("psk:Center")));
    ExpectEachCase(
        Publish,
        {
            {"center and finisher get their bin types", BinsCapabilities, true,
             PublishedCapabilities},
            {"an existing bin type gets a second one",
             Documents.Ticket(OutputBin(Option("pv:Center", BinType("psk:Sorter")))), true,
             Documents.Ticket(
                 OutputBin(Option("pv:Center", BinType("psk:Sorter") + BinType("pv:Tray"))))},
            {"without the feature the document is unchanged", holePunchOnly, false, holePunchOnly},
            {"without known options it succeeds and changes nothing", noKnownOptions, true,
             noKnownOptions},
        });
}

TEST_F(PublishOutputBinTypesTest, PublishingTwiceGivesEachOptionTwoBinTypes) {
    Load(BinsCapabilities);
    EXPECT_TRUE(Run(Publish));
    EXPECT_TRUE(Run(Publish));
    EXPECT_TRUE(DocumentIs(Documents.Capabilities(OutputBin(
        UpperOption + Option("pv:Center", Capacity + BinType("pv:Tray") + BinType("pv:Tray")) +
        Option("pv:Finisher", BinType("psk:Stacker") + BinType("psk:Stacker"))))));
}

TEST_F(PublishOutputBinTypesTest, AFailingPlatformCallOnlyFailsWithoutTouchingTheDocument) {
    const std::string original = CanonicalXml(BinsCapabilities);
    std::vector<FaultedRun> runs = RunWithEachFault(BinsCapabilities, Publish);
    bool skippedAnEntry = false;
    for (const FaultedRun& run : runs) {
        if (!run.result)
            EXPECT_EQ(run.canonicalDocument, original);
        else if (run.canonicalDocument != CanonicalXml(PublishedCapabilities))
            skippedAnEntry = true;
    }
    // Once the feature is found, a failing entry is skipped and the rule succeeds.
    EXPECT_TRUE(skippedAnEntry);
}

using RestoreOutputBinOptionsTest = MappingTest;

TEST_F(RestoreOutputBinOptionsTest, RenamesByTheFirstOptionsBinType) {
    const std::string finisher = Documents.Ticket(OutputBin(Option("pv:Finisher")));
    ExpectEachCase(
        Restore,
        {
            {"an unnamed option with a public bin type becomes Finisher",
             Documents.Ticket(
                 OutputBin(R"(<psf:Option>)" + BinType("psk:Stacker") + "</psf:Option>")),
             true, finisher},
            {"a private bin type renames the option to Center",
             Documents.Ticket(OutputBin(Option("psk:Other", Capacity + BinType("pv:Tray")))), true,
             Documents.Ticket(OutputBin(Option("pv:Center", Capacity)))},
            {"an option named by scored property gets a name attribute",
             Documents.Ticket(OutputBin(UnnamedOption("psk:Other", BinType("psk:Stacker")))), true,
             finisher},
            {"an already private option loses its bin type",
             Documents.Ticket(OutputBin(Option("pv:Center", BinType("pv:Tray")))), true,
             Documents.Ticket(OutputBin(Option("pv:Center")))},
            {"only the first of two bin types is removed",
             Documents.Ticket(
                 OutputBin(Option("pv:Center", BinType("pv:Tray") + BinType("pv:Tray")))),
             true, Documents.Ticket(OutputBin(Option("pv:Center", BinType("pv:Tray"))))},
        });
}

TEST_F(RestoreOutputBinOptionsTest, BinTypesOfUpTo255CharactersAreRead) {
    // The private prefix makes entry 0's bin type that many characters long.
    auto documents = [](size_t binTypeLength) {
        return PrintSchemaRoot(FrameworkDeclaration + KeywordsDeclaration + SchemaDeclarations +
                               Declaration(LongPrefix(binTypeLength - 5), PrivateUri));
    };
    auto binTyped = [&](size_t binTypeLength) {
        return documents(binTypeLength)
            .Ticket(
                OutputBin(Option("psk:Other", BinType(LongPrefix(binTypeLength - 5) + ":Tray"))));
    };
    ExpectEachCase(Restore,
                   {
                       {"255 characters", binTyped(255), true,
                        documents(255).Ticket(OutputBin(Option(LongPrefix(250) + ":Center")))},
                       {"256 characters", binTyped(256), false, binTyped(256)},
                   });
}

TEST_F(RestoreOutputBinOptionsTest, FailsWithoutChangeWhenNothingMatches) {
    std::vector<RuleCase> cases;
    auto unchanged = [&](const std::string& name, const std::string& ticket) {
        cases.push_back({name, ticket, false, ticket});
    };
    unchanged("no feature", Documents.Ticket(""));
    unchanged("no option", Documents.Ticket(OutputBin("")));
    unchanged("no bin type", Documents.Ticket(OutputBin(Option("psk:Other"))));
    unchanged("a bin type without a value",
              Documents.Ticket(
                  OutputBin(Option("psk:Other", R"(<psf:ScoredProperty name="psk:BinType"/>)"))));
    unchanged("only the first option is examined",
              Documents.Ticket(
                  OutputBin(Option("psk:Other") + Option("psk:Another", BinType("psk:Stacker")))));
    // The bin type text is matched exactly.
    for (const char* text : {"psk:Sorter",   // not in the table
                             "psk:stacker",  // letter case differs
                             "psk:Stacker ", // trailing blank
                             "psk:Stack",    // a prefix of a table entry
                             "pv:Stacker"})  // the table's name in the other namespace
        unchanged(std::string("bin type \"") + text + "\"",
                  Documents.Ticket(OutputBin(Option("psk:Other", BinType(text)))));
    // "k" is bound to the keywords namespace too, but the document's own
    // prefix for it is "psk": prefix text is compared, not the namespace.
    unchanged("another prefix for the keywords namespace",
              Documents.Ticket(OutputBin(
                  Option("psk:Other", R"(<psf:ScoredProperty name="psk:BinType" )"
                                      R"(xmlns:k="http://schemas.microsoft.com/windows/2003/08/)"
                                      R"(printing/printschemakeywords">)"
                                      R"(<psf:Value xsi:type="xsd:QName">k:Stacker</psf:Value>)"
                                      R"(</psf:ScoredProperty>)"))));
    // Entry 0 cannot be written in this ticket, so entry 1 is never tried.
    unchanged("without a private prefix even a public bin type",
              PrintSchemaRoot(FrameworkDeclaration + KeywordsDeclaration + SchemaDeclarations)
                  .Ticket(OutputBin(R"(<psf:Option>)" + BinType("psk:Stacker") + "</psf:Option>")));
    ExpectEachCase(Restore, cases);
}

TEST_F(RestoreOutputBinOptionsTest, AFailingPlatformCallLeavesOnlyTheDocumentedStates) {
    const std::string ticket =
        Documents.Ticket(OutputBin(Option("psk:Other", BinType("psk:Stacker"))));
    const std::string original = CanonicalXml(ticket);
    const std::string renamedWithBinType =
        CanonicalXml(Documents.Ticket(OutputBin(Option("pv:Finisher", BinType("psk:Stacker")))));
    const std::string restored = CanonicalXml(Documents.Ticket(OutputBin(Option("pv:Finisher"))));
    std::vector<FaultedRun> runs = RunWithEachFault(ticket, Restore);
    ExpectOnlyStates(runs, restored, {original, renamedWithBinType});
    // A failing removal leaves the new name with the bin type still on.
    EXPECT_TRUE(AnyRunLeft(runs, renamedWithBinType));
}
