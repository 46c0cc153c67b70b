// Moving the presentation-direction feature between its private top-level name
// and the public sub-feature of "JobNUpAllDocumentsContiguously".
#include "mapping_test.h"

#include "canonical_xml.h"
#include "plugin/print_ticket_provider.h"

using namespace ptbridge;

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

TEST_F(PublishPresentationDirectionTest, MovesThePrivateFeatureUnderTheParentOrChangesNothing) {
    const std::string nUpOnly =
        Documents.Ticket(Feature("psk:JobNUpAllDocumentsContiguously", NUpOption));
    // The root declares no prefix for the keywords namespace (only the parent
    // does, below the root), so the public name cannot be written.
    const std::string keywordsUndeclaredAtRoot =
        PrintSchemaRoot(FrameworkDeclaration + SchemaDeclarations + PrivateDeclaration)
            .Ticket(
                R"(<psf:Feature xmlns:k="http://schemas.microsoft.com/windows/2003/08/printing/)"
                R"(printschemakeywords" name="k:JobNUpAllDocumentsContiguously"/>)" +
                Feature("pv:JobPresentationDirection", DirectionOption));
    const std::string existing = Feature("psk:PresentationDirection", R"(<psf:Option/>)");
    ExpectEachCase(
        Publish,
        {
            {"renames and nests the feature after the parent's content", PrivateTicket, true,
             PublishedTicket},
            {"works on capabilities too",
             Documents.Capabilities(Feature("pv:JobPresentationDirection", DirectionOption) +
                                    Feature("psk:JobNUpAllDocumentsContiguously", NUpOption)),
             true,
             Documents.Capabilities(
                 Feature("psk:JobNUpAllDocumentsContiguously",
                         NUpOption + Feature("psk:PresentationDirection", DirectionOption)))},
            {"an existing public sub-feature is kept beside the new one",
             Documents.Ticket(Feature("psk:JobNUpAllDocumentsContiguously", existing) +
                              Feature("pv:JobPresentationDirection", DirectionOption)),
             true,
             Documents.Ticket(
                 Feature("psk:JobNUpAllDocumentsContiguously",
                         existing + Feature("psk:PresentationDirection", DirectionOption)))},
            {"without the private feature the document is unchanged", nUpOnly, false, nUpOnly},
            {"without the parent the public name stays in place",
             Documents.Ticket(Feature("pv:JobPresentationDirection", DirectionOption) +
                              MediaFeature),
             false,
             Documents.Ticket(Feature("psk:PresentationDirection", DirectionOption) +
                              MediaFeature)},
            {"a failed rename leaves the document unchanged", keywordsUndeclaredAtRoot, false,
             keywordsUndeclaredAtRoot},
        });
}

TEST_F(PublishPresentationDirectionTest, PublishingTwiceFindsNothingTheSecondTime) {
    Load(PrivateTicket);
    EXPECT_TRUE(Run(Publish));
    EXPECT_FALSE(Run(Publish));
    EXPECT_TRUE(DocumentIs(PublishedTicket));
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

TEST_F(RestorePresentationDirectionTest, GivesThePrivateNameBackOrChangesNothing) {
    const std::string mediaOnly = Documents.Ticket(MediaFeature);
    const std::string nUpOnly =
        Documents.Ticket(Feature("psk:JobNUpAllDocumentsContiguously", NUpOption));
    const std::string topLevelPublic =
        Documents.Ticket(Feature("psk:JobNUpAllDocumentsContiguously", NUpOption) +
                         Feature("psk:PresentationDirection", DirectionOption));
    // No prefix for the private namespace at the root: the private name
    // cannot be written.
    const std::string privateUndeclared =
        PrintSchemaRoot(FrameworkDeclaration + KeywordsDeclaration + SchemaDeclarations)
            .Ticket(Feature("psk:JobNUpAllDocumentsContiguously",
                            NUpOption + Feature("psk:PresentationDirection", R"(<psf:Option/>)")));
    ExpectEachCase(
        Restore,
        {
            {"the private name comes back as the last top-level feature", PublishedTicket, true,
             RestoredTicket},
            {"without the parent", mediaOnly, false, mediaOnly},
            {"without the sub-feature", nUpOnly, false, nUpOnly},
            {"a top-level public feature is not restored", topLevelPublic, false, topLevelPublic},
            {"a failed rename moves nothing", privateUndeclared, false, privateUndeclared},
        });
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
