// Working out the hole count from the device options and writing it into the
// first option of "JobHolePunch".
#include "mapping_test.h"

#include "canonical_xml.h"
#include "plugin/print_ticket_provider.h"

#include <optional>

using namespace ptbridge;

namespace {
std::string HolePunch(const std::string& options) {
    return R"(<psf:Feature name="psk:JobHolePunch">)" + options + "</psf:Feature>";
}

std::string Option(const std::string& name, const std::string& content = "") {
    return R"(<psf:Option name=")" + name + R"(">)" + content + "</psf:Option>";
}

std::string IntegerValue(int value) {
    return R"(<psf:Value xsi:type="xsd:integer">)" + std::to_string(value) + "</psf:Value>";
}

std::string HoleCount(const std::string& values) {
    return R"(<psf:ScoredProperty name="psk:HoleCount">)" + values + "</psf:ScoredProperty>";
}

const std::string PunchTicket = Documents.Ticket(HolePunch(Option("psk:LeftEdge")));

std::string PunchedTicket(int holes) {
    return Documents.Ticket(HolePunch(Option("psk:LeftEdge", HoleCount(IntegerValue(holes)))));
}

// Device answers for one feature: a keyword, or a result other than S_OK.
struct Answer {
    std::optional<std::string> keyword;
    HRESULT failure = S_FALSE;
};
Answer Keyword(const std::string& keyword) {
    return {keyword, S_OK};
}
Answer NoAnswer(HRESULT result) {
    return {std::nullopt, result};
}

struct KeywordCase {
    const char* description;
    Answer punchHole;
    Answer punch;
    int holes;
};

const KeywordCase KeywordCases[] = {
    {"two holes", Keyword("2Holes"), NoAnswer(S_FALSE), 2},
    {"three holes", Keyword("3Holes"), Keyword("Auto"), 3},
    {"four holes", Keyword("4Holes"), NoAnswer(S_FALSE), 4},
    {"None", Keyword("None"), NoAnswer(S_FALSE), 0},
    {"an unknown keyword", Keyword("5Holes"), NoAnswer(S_FALSE), 0},
    {"another letter case", Keyword("2holes"), NoAnswer(S_FALSE), 0},
    {"a trailing blank", Keyword("2Holes "), NoAnswer(S_FALSE), 0},
    {"a keyword the table's begins with", Keyword("3Hole"), NoAnswer(S_FALSE), 0},
    {"a keyword that begins with the table's", Keyword("3Holes2"), NoAnswer(S_FALSE), 0},
    {"an empty keyword", Keyword(""), NoAnswer(S_FALSE), 0},
    {"Punch NONE overrides", Keyword("4Holes"), Keyword("NONE"), 0},
    {"Punch None does not override", Keyword("2Holes"), Keyword("None"), 2},
    {"Punch NONE with a blank does not override", Keyword("2Holes"), Keyword("NONE "), 2},
    {"PunchHole not answered", NoAnswer(S_FALSE), Keyword("Auto"), 0},
    {"PunchHole failing", NoAnswer(E_FAIL), NoAnswer(S_FALSE), 0},
    {"PunchHole failing with another code", NoAnswer(E_INVALIDARG), Keyword("NONE"), 0},
    {"Punch failing", Keyword("3Holes"), NoAnswer(E_FAIL), 3},
    {"a success other than S_OK is no answer", NoAnswer(S_NO_CONFLICT), NoAnswer(S_FALSE), 0},
    {"PunchHole answered with no keyword", NoAnswer(S_OK), Keyword("Auto"), 0},
    {"Punch answered with no keyword", Keyword("2Holes"), NoAnswer(S_OK), 2},
};

void SetAnswer(FakeCoreHelper& helper, const std::string& feature, const Answer& answer) {
    if (answer.keyword)
        helper.options[feature] = *answer.keyword;
    else if (answer.failure != S_FALSE)
        helper.optionFailures[feature] = answer.failure;
}

DEVMODEW Devmode{};
} // namespace

class PublishHoleCountTest : public MappingTest {
  protected:
    bool RunPublish() {
        return Run([this](SchemaDocument* schema) {
            return PrintTicketProvider::PublishHoleCount(schema, &coreHelper, sizeof(Devmode),
                                                         &Devmode);
        });
    }
};

TEST_F(PublishHoleCountTest, DeviceKeywordsGiveTheHoleCount) {
    for (const KeywordCase& keywordCase : KeywordCases) {
        SCOPED_TRACE(keywordCase.description);
        coreHelper.options.clear();
        coreHelper.optionFailures.clear();
        coreHelper.getOptionCalls = 0;
        SetAnswer(coreHelper, "PunchHole", keywordCase.punchHole);
        SetAnswer(coreHelper, "Punch", keywordCase.punch);
        Load(PunchTicket);
        EXPECT_TRUE(RunPublish());
        EXPECT_TRUE(DocumentIs(PunchedTicket(keywordCase.holes)));
        // "Punch" is asked whatever "PunchHole" answered.
        EXPECT_EQ(coreHelper.getOptionCalls, 2);
    }
}

TEST_F(PublishHoleCountTest, BothKeywordsAreReadEvenWithoutTheFeature) {
    coreHelper.options["PunchHole"] = "3Holes";
    const std::string ticket = Documents.Ticket(R"(<psf:Feature name="psk:JobOutputBin"/>)");
    Load(ticket);
    EXPECT_FALSE(RunPublish());
    EXPECT_EQ(coreHelper.getOptionCalls, 2);
    EXPECT_TRUE(DocumentIs(ticket));
}

TEST_F(PublishHoleCountTest, AFeatureWithoutOptionLeavesTheDocumentUnchanged) {
    const std::string ticket = Documents.Ticket(HolePunch(""));
    Load(ticket);
    EXPECT_FALSE(RunPublish());
    EXPECT_TRUE(DocumentIs(ticket));
}

TEST_F(PublishHoleCountTest, AnExistingHoleCountKeepsItsValueAndGetsTheNewOneAfter) {
    coreHelper.options["PunchHole"] = "3Holes";
    Load(Documents.Ticket(HolePunch(Option("psk:LeftEdge", HoleCount(IntegerValue(2))))));
    EXPECT_TRUE(RunPublish());
    EXPECT_TRUE(DocumentIs(Documents.Ticket(
        HolePunch(Option("psk:LeftEdge", HoleCount(IntegerValue(2) + IntegerValue(3)))))));
}

TEST_F(PublishHoleCountTest, PublishingTwiceGivesTwoValues) {
    coreHelper.options["PunchHole"] = "4Holes";
    Load(PunchTicket);
    EXPECT_TRUE(RunPublish());
    EXPECT_TRUE(RunPublish());
    EXPECT_TRUE(DocumentIs(Documents.Ticket(
        HolePunch(Option("psk:LeftEdge", HoleCount(IntegerValue(4) + IntegerValue(4)))))));
}

TEST_F(PublishHoleCountTest, OnlyTheFirstOptionIsLookedAt) {
    coreHelper.options["PunchHole"] = "2Holes";
    const std::string second = Option("psk:RightEdge", HoleCount(IntegerValue(4)));
    Load(Documents.Ticket(HolePunch(Option("psk:LeftEdge") + second)));
    EXPECT_TRUE(RunPublish());
    EXPECT_TRUE(DocumentIs(
        Documents.Ticket(HolePunch(Option("psk:LeftEdge", HoleCount(IntegerValue(2))) + second))));
}

TEST_F(PublishHoleCountTest, AValueThatCannotBeWrittenFailsAndKeepsTheNewProperty) {
    // No xsd or xsi prefix at the root: the typed value cannot be written.
    coreHelper.options["PunchHole"] = "2Holes";
    Load(PrintSchemaRoot(FrameworkDeclaration + KeywordsDeclaration)
             .Ticket(HolePunch(Option("psk:LeftEdge"))));
    EXPECT_FALSE(RunPublish());
    EXPECT_TRUE(Canonical().find(R"(name="psk:HoleCount")") != std::string::npos) << Canonical();
    EXPECT_TRUE(Canonical().find(">2<") == std::string::npos) << Canonical();
}

TEST_F(PublishHoleCountTest, AFailingPlatformCallLeavesOnlyTheDocumentedStates) {
    coreHelper.options["PunchHole"] = "3Holes";
    const std::string original = CanonicalXml(PunchTicket);
    const std::string withoutValue =
        CanonicalXml(Documents.Ticket(HolePunch(Option("psk:LeftEdge", HoleCount("")))));
    const std::string published = CanonicalXml(PunchedTicket(3));
    std::vector<FaultedRun> runs = RunWithEachFault(PunchTicket, [this](SchemaDocument* schema) {
        return PrintTicketProvider::PublishHoleCount(schema, &coreHelper, sizeof(Devmode),
                                                     &Devmode);
    });
    for (const FaultedRun& run : runs) {
        // Besides the property without a value, a failed creation may leave an
        // element without its name or type: no run may write a count and fail.
        EXPECT_EQ(run.result, run.canonicalDocument == published) << run.canonicalDocument;
        if (!run.result) {
            EXPECT_EQ(run.canonicalDocument.find(">3<"), std::string::npos);
        }
    }
    EXPECT_TRUE(AnyRunLeft(runs, original));
    EXPECT_TRUE(AnyRunLeft(runs, withoutValue));
}
