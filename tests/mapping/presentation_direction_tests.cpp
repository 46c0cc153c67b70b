// Moving the presentation-direction feature between its private top-level name
// and the public sub-feature of "JobNUpAllDocumentsContiguously".
#include "mapping_test.h"

#include "canonical_xml.h"
#include "plugin/print_ticket_provider.h"

namespace {
const Rule Publish = PrintTicketProvider::PublishPresentationDirection;
const Rule Restore = PrintTicketProvider::RestorePresentationDirection;

const std::string NUpOption =
    R"(<psf:Option><psf:ScoredProperty name="psk:PagesPerSheet">)"
    R"(<psf:Value xsi:type="xsd:integer">2</psf:Value></psf:ScoredProperty></psf:Option>)";
const std::string DirectionOption = R"(<psf:Option name="pv:RightBottom"/>)";
const std::string MediaFeature =
    R"(<psf:Feature name="psk:PageMediaSize"><psf:Option name="psk:ISOA4"/></psf:Feature>)";

std::string Feature(const std::string& name, const std::string& content) {
    return R"(<psf:Feature name=")" + name + R"(">)" + content + "</psf:Feature>";
}

// The private feature at the top level, after the n-up feature.
const std::string PrivateTicket =
    Documents.Ticket(Feature("psk:JobNUpAllDocumentsContiguously", NUpOption) + MediaFeature +
                     Feature("pv:JobPresentationDirection", DirectionOption));
// The public sub-feature as the last child of the n-up feature.
const std::string PublishedTicket =
    Documents.Ticket(Feature("psk:JobNUpAllDocumentsContiguously",
                             NUpOption + Feature("psk:PresentationDirection", DirectionOption)) +
                     MediaFeature);
// Restoring gives back the private ticket: its private feature is already the
// last child of the root.
const std::string& RestoredTicket = PrivateTicket;
} // namespace

using PublishPresentationDirectionTest = MappingTest;

TEST_F(PublishPresentationDirectionTest, RenamesAndNestsTheFeatureAfterTheParentsContent) {
    Load(PrivateTicket);
    EXPECT_TRUE(Run(Publish));
    EXPECT_TRUE(DocumentIs(PublishedTicket));
}

TEST_F(PublishPresentationDirectionTest, WorksOnCapabilitiesToo) {
    Load(Documents.Capabilities(Feature("pv:JobPresentationDirection", DirectionOption) +
                                Feature("psk:JobNUpAllDocumentsContiguously", NUpOption)));
    EXPECT_TRUE(Run(Publish));
    EXPECT_TRUE(DocumentIs(Documents.Capabilities(
        Feature("psk:JobNUpAllDocumentsContiguously",
                NUpOption + Feature("psk:PresentationDirection", DirectionOption)))));
}

TEST_F(PublishPresentationDirectionTest, WithoutThePrivateFeatureLeavesTheDocumentUnchanged) {
    const std::string ticket =
        Documents.Ticket(Feature("psk:JobNUpAllDocumentsContiguously", NUpOption));
    Load(ticket);
    EXPECT_FALSE(Run(Publish));
    EXPECT_TRUE(DocumentIs(ticket));
}

TEST_F(PublishPresentationDirectionTest, WithoutTheParentKeepsThePublicNameInPlace) {
    Load(Documents.Ticket(Feature("pv:JobPresentationDirection", DirectionOption) + MediaFeature));
    EXPECT_FALSE(Run(Publish));
    EXPECT_TRUE(DocumentIs(
        Documents.Ticket(Feature("psk:PresentationDirection", DirectionOption) + MediaFeature)));
}

TEST_F(PublishPresentationDirectionTest, FailedRenameLeavesTheDocumentUnchanged) {
    // The root declares no prefix for the keywords namespace (only the parent
    // does, below the root), so the public name cannot be written.
    const std::string ticket =
        PrintSchemaRoot(FrameworkDeclaration + SchemaDeclarations + PrivateDeclaration)
            .Ticket(
                R"(<psf:Feature xmlns:k="http://schemas.microsoft.com/windows/2003/08/printing/)"
                R"(printschemakeywords" name="k:JobNUpAllDocumentsContiguously"/>)" +
                Feature("pv:JobPresentationDirection", DirectionOption));
    Load(ticket);
    EXPECT_FALSE(Run(Publish));
    EXPECT_TRUE(DocumentIs(ticket));
}

TEST_F(PublishPresentationDirectionTest, PublishingTwiceFindsNothingTheSecondTime) {
    Load(PrivateTicket);
    EXPECT_TRUE(Run(Publish));
    EXPECT_FALSE(Run(Publish));
    EXPECT_TRUE(DocumentIs(PublishedTicket));
}

TEST_F(PublishPresentationDirectionTest, AnExistingPublicSubFeatureIsKeptBesideTheNewOne) {
    const std::string existing = Feature("psk:PresentationDirection", R"(<psf:Option/>)");
    Load(Documents.Ticket(Feature("psk:JobNUpAllDocumentsContiguously", existing) +
                          Feature("pv:JobPresentationDirection", DirectionOption)));
    EXPECT_TRUE(Run(Publish));
    EXPECT_TRUE(DocumentIs(Documents.Ticket(
        Feature("psk:JobNUpAllDocumentsContiguously",
                existing + Feature("psk:PresentationDirection", DirectionOption)))));
}

TEST_F(PublishPresentationDirectionTest, AFailingPlatformCallLeavesOnlyTheDocumentedStates) {
    const std::string original = CanonicalXml(PrivateTicket);
    const std::string renamedInPlace = CanonicalXml(
        Documents.Ticket(Feature("psk:JobNUpAllDocumentsContiguously", NUpOption) + MediaFeature +
                         Feature("psk:PresentationDirection", DirectionOption)));
    const std::string published = CanonicalXml(PublishedTicket);
    std::vector<FaultedRun> runs = RunWithEachFault(PrivateTicket, Publish);
    ExpectOnlyStates(runs, published, {original, renamedInPlace});
    // A failing move (or parent lookup) leaves the public name at the old place.
    EXPECT_TRUE(AnyRunLeft(runs, renamedInPlace));
}

using RestorePresentationDirectionTest = MappingTest;

TEST_F(RestorePresentationDirectionTest, GivesThePrivateNameBackAsTheLastTopLevelFeature) {
    Load(PublishedTicket);
    EXPECT_TRUE(Run(Restore));
    EXPECT_TRUE(DocumentIs(RestoredTicket));
}

TEST_F(RestorePresentationDirectionTest, PublishThenRestoreMovesAFirstFeatureToTheEnd) {
    Load(Documents.Ticket(Feature("pv:JobPresentationDirection", DirectionOption) + MediaFeature +
                          Feature("psk:JobNUpAllDocumentsContiguously", NUpOption)));
    EXPECT_TRUE(Run(Publish));
    EXPECT_TRUE(Run(Restore));
    EXPECT_TRUE(DocumentIs(
        Documents.Ticket(MediaFeature + Feature("psk:JobNUpAllDocumentsContiguously", NUpOption) +
                         Feature("pv:JobPresentationDirection", DirectionOption))));
}

TEST_F(RestorePresentationDirectionTest, WithoutTheParentLeavesTheDocumentUnchanged) {
    const std::string ticket = Documents.Ticket(MediaFeature);
    Load(ticket);
    EXPECT_FALSE(Run(Restore));
    EXPECT_TRUE(DocumentIs(ticket));
}

TEST_F(RestorePresentationDirectionTest, WithoutTheSubFeatureLeavesTheDocumentUnchanged) {
    const std::string ticket =
        Documents.Ticket(Feature("psk:JobNUpAllDocumentsContiguously", NUpOption));
    Load(ticket);
    EXPECT_FALSE(Run(Restore));
    EXPECT_TRUE(DocumentIs(ticket));
}

TEST_F(RestorePresentationDirectionTest, ATopLevelPublicFeatureIsNotRestored) {
    const std::string ticket =
        Documents.Ticket(Feature("psk:JobNUpAllDocumentsContiguously", NUpOption) +
                         Feature("psk:PresentationDirection", DirectionOption));
    Load(ticket);
    EXPECT_FALSE(Run(Restore));
    EXPECT_TRUE(DocumentIs(ticket));
}

TEST_F(RestorePresentationDirectionTest, FailedRenameMovesNothing) {
    // No prefix for the private namespace at the root: the private name
    // cannot be written.
    const std::string ticket =
        PrintSchemaRoot(FrameworkDeclaration + KeywordsDeclaration + SchemaDeclarations)
            .Ticket(Feature("psk:JobNUpAllDocumentsContiguously",
                            NUpOption + Feature("psk:PresentationDirection", R"(<psf:Option/>)")));
    Load(ticket);
    EXPECT_FALSE(Run(Restore));
    EXPECT_TRUE(DocumentIs(ticket));
}

TEST_F(RestorePresentationDirectionTest, AFailingPlatformCallLeavesOnlyTheDocumentedStates) {
    const std::string original = CanonicalXml(PublishedTicket);
    const std::string renamedBelowParent = CanonicalXml(Documents.Ticket(
        Feature("psk:JobNUpAllDocumentsContiguously",
                NUpOption + Feature("pv:JobPresentationDirection", DirectionOption)) +
        MediaFeature));
    std::vector<FaultedRun> runs = RunWithEachFault(PublishedTicket, Restore);
    ExpectOnlyStates(runs, CanonicalXml(RestoredTicket), {original, renamedBelowParent});
    // A failing move leaves the private name below the parent.
    EXPECT_TRUE(AnyRunLeft(runs, renamedBelowParent));
}
