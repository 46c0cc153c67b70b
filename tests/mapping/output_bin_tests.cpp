// Announcing the known output bins by bin type, and naming a ticket's chosen
// bin back from its bin type.
#include "mapping_test.h"

#include "canonical_xml.h"
#include "plugin/print_ticket_provider.h"

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
    Load(BinsCapabilities);
    EXPECT_TRUE(Run(Publish));
    EXPECT_TRUE(DocumentIs(PublishedCapabilities));
}

TEST_F(PublishOutputBinTypesTest, PublishingTwiceGivesEachOptionTwoBinTypes) {
    Load(BinsCapabilities);
    EXPECT_TRUE(Run(Publish));
    EXPECT_TRUE(Run(Publish));
    EXPECT_TRUE(DocumentIs(Documents.Capabilities(OutputBin(
        UpperOption + Option("pv:Center", Capacity + BinType("pv:Tray") + BinType("pv:Tray")) +
        Option("pv:Finisher", BinType("psk:Stacker") + BinType("psk:Stacker"))))));
}

TEST_F(PublishOutputBinTypesTest, AnExistingBinTypeGetsASecondOne) {
    Load(Documents.Ticket(OutputBin(Option("pv:Center", BinType("psk:Sorter")))));
    EXPECT_TRUE(Run(Publish));
    EXPECT_TRUE(DocumentIs(Documents.Ticket(
        OutputBin(Option("pv:Center", BinType("psk:Sorter") + BinType("pv:Tray"))))));
}

TEST_F(PublishOutputBinTypesTest, WithoutTheFeatureLeavesTheDocumentUnchanged) {
    const std::string ticket = Documents.Ticket(R"(<psf:Feature name="psk:JobHolePunch"/>)");
    Load(ticket);
    EXPECT_FALSE(Run(Publish));
    EXPECT_TRUE(DocumentIs(ticket));
}

TEST_F(PublishOutputBinTypesTest, WithoutKnownOptionsSucceedsAndChangesNothing) {
    const std::string ticket = Documents.Ticket(OutputBin(UpperOption + Option("psk:Center")));
    Load(ticket);
    EXPECT_TRUE(Run(Publish));
    EXPECT_TRUE(DocumentIs(ticket));
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

TEST_F(RestoreOutputBinOptionsTest, AnUnnamedOptionWithAPublicBinTypeBecomesFinisher) {
    Load(Documents.Ticket(OutputBin(R"(<psf:Option>)" + BinType("psk:Stacker") + "</psf:Option>")));
    EXPECT_TRUE(Run(Restore));
    EXPECT_TRUE(DocumentIs(Documents.Ticket(OutputBin(Option("pv:Finisher")))));
}

TEST_F(RestoreOutputBinOptionsTest, APrivateBinTypeRenamesTheOptionToCenter) {
    Load(Documents.Ticket(OutputBin(Option("psk:Other", Capacity + BinType("pv:Tray")))));
    EXPECT_TRUE(Run(Restore));
    EXPECT_TRUE(DocumentIs(Documents.Ticket(OutputBin(Option("pv:Center", Capacity)))));
}

TEST_F(RestoreOutputBinOptionsTest, AnOptionNamedByScoredPropertyGetsANameAttribute) {
    Load(Documents.Ticket(OutputBin(UnnamedOption("psk:Other", BinType("psk:Stacker")))));
    EXPECT_TRUE(Run(Restore));
    EXPECT_TRUE(DocumentIs(Documents.Ticket(OutputBin(Option("pv:Finisher")))));
}

TEST_F(RestoreOutputBinOptionsTest, AnAlreadyPrivateOptionLosesItsBinType) {
    Load(Documents.Ticket(OutputBin(Option("pv:Center", BinType("pv:Tray")))));
    EXPECT_TRUE(Run(Restore));
    EXPECT_TRUE(DocumentIs(Documents.Ticket(OutputBin(Option("pv:Center")))));
}

TEST_F(RestoreOutputBinOptionsTest, OnlyTheFirstOfTwoBinTypesIsRemoved) {
    Load(Documents.Ticket(OutputBin(Option("pv:Center", BinType("pv:Tray") + BinType("pv:Tray")))));
    EXPECT_TRUE(Run(Restore));
    EXPECT_TRUE(DocumentIs(Documents.Ticket(OutputBin(Option("pv:Center", BinType("pv:Tray"))))));
}

TEST_F(RestoreOutputBinOptionsTest, OnlyTheFirstOptionIsExamined) {
    const std::string ticket = Documents.Ticket(
        OutputBin(Option("psk:Other") + Option("psk:Another", BinType("psk:Stacker"))));
    Load(ticket);
    EXPECT_FALSE(Run(Restore));
    EXPECT_TRUE(DocumentIs(ticket));
}

TEST_F(RestoreOutputBinOptionsTest, FailsWithoutChangeWhenSomethingIsMissing) {
    const std::string tickets[] = {
        Documents.Ticket(""),
        Documents.Ticket(OutputBin("")),
        Documents.Ticket(OutputBin(Option("psk:Other"))),
        Documents.Ticket(
            OutputBin(Option("psk:Other", R"(<psf:ScoredProperty name="psk:BinType"/>)"))),
    };
    for (const std::string& ticket : tickets) {
        Load(ticket);
        EXPECT_FALSE(Run(Restore)) << ticket;
        EXPECT_TRUE(DocumentIs(ticket));
    }
}

TEST_F(RestoreOutputBinOptionsTest, MatchesTheBinTypeTextExactly) {
    const std::string unmatched[] = {
        "psk:Sorter",   // not in the table
        "psk:stacker",  // letter case differs
        "psk:Stacker ", // trailing blank
        "psk:Stack",    // a prefix of a table entry
        "pv:Stacker",   // the table's name in the other namespace
    };
    for (const std::string& text : unmatched) {
        const std::string ticket = Documents.Ticket(OutputBin(Option("psk:Other", BinType(text))));
        Load(ticket);
        EXPECT_FALSE(Run(Restore)) << text;
        EXPECT_TRUE(DocumentIs(ticket));
    }
}

TEST_F(RestoreOutputBinOptionsTest, ComparesPrefixTextNotTheResolvedNamespace) {
    // "k" is bound to the keywords namespace too, but the document's own
    // prefix for it is "psk".
    const std::string ticket = Documents.Ticket(
        OutputBin(Option("psk:Other", R"(<psf:ScoredProperty name="psk:BinType" )"
                                      R"(xmlns:k="http://schemas.microsoft.com/windows/2003/08/)"
                                      R"(printing/printschemakeywords">)"
                                      R"(<psf:Value xsi:type="xsd:QName">k:Stacker</psf:Value>)"
                                      R"(</psf:ScoredProperty>)")));
    Load(ticket);
    EXPECT_FALSE(Run(Restore));
    EXPECT_TRUE(DocumentIs(ticket));
}

TEST_F(RestoreOutputBinOptionsTest, WithoutAPrivatePrefixEvenAPublicBinTypeStaysUnmapped) {
    // Entry 0 cannot be written in this ticket, so entry 1 is never tried.
    const std::string ticket =
        PrintSchemaRoot(FrameworkDeclaration + KeywordsDeclaration + SchemaDeclarations)
            .Ticket(OutputBin(R"(<psf:Option>)" + BinType("psk:Stacker") + "</psf:Option>"));
    Load(ticket);
    EXPECT_FALSE(Run(Restore));
    EXPECT_TRUE(DocumentIs(ticket));
}

TEST_F(RestoreOutputBinOptionsTest, ABinTypeOf255CharactersIsRead) {
    // The private prefix makes entry 0's bin type 255 characters long.
    const std::string prefix = LongPrefix(255 - std::string(":Tray").size());
    const PrintSchemaRoot documents(FrameworkDeclaration + KeywordsDeclaration +
                                    SchemaDeclarations + Declaration(prefix, PrivateUri));
    Load(documents.Ticket(OutputBin(Option("psk:Other", BinType(prefix + ":Tray")))));
    EXPECT_TRUE(Run(Restore));
    EXPECT_TRUE(DocumentIs(documents.Ticket(OutputBin(Option(prefix + ":Center")))));
}

TEST_F(RestoreOutputBinOptionsTest, ABinTypeOf256CharactersIsRefused) {
    const std::string prefix = LongPrefix(256 - std::string(":Tray").size());
    const PrintSchemaRoot documents(FrameworkDeclaration + KeywordsDeclaration +
                                    SchemaDeclarations + Declaration(prefix, PrivateUri));
    const std::string ticket =
        documents.Ticket(OutputBin(Option("psk:Other", BinType(prefix + ":Tray"))));
    Load(ticket);
    EXPECT_FALSE(Run(Restore));
    EXPECT_TRUE(DocumentIs(ticket));
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
