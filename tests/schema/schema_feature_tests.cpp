// SchemaFeature: sub-features below one feature, renaming, and adding,
// finding and removing options and properties.
#include "schema_test_support.h"

#include "common/namespaces.h"
#include "schema/schema_feature.h"
#include "schema/schema_option.h"

#include <memory>

using namespace ptbridge;

namespace {

const std::string Features = Documents.Ticket(
    "<psf:Feature name=\"psk:JobNUpAllDocumentsContiguously\">"
    "<psf:Feature name=\"psk:PresentationDirection\"><psf:Option name=\"psk:RightBottom\"/>"
    "</psf:Feature>"
    "<psf:Option name=\"psk:Two\"/>"
    "</psf:Feature>"
    "<psf:Feature name=\"psk:JobOutputBin\">"
    "<psf:Option name=\"ns0000:Center\"/><psf:Option name=\"ns0000:Tray\"/>"
    "</psf:Feature>"
    "<psf:Feature name=\"ns0000:JobFinisher\"><psf:Option>"
    "<psf:ScoredProperty name=\"psf:OptionName\">"
    "<psf:Value xsi:type=\"xsd:QName\">ns0000:Finisher</psf:Value></psf:ScoredProperty>"
    "</psf:Option></psf:Feature>"
    "<psf:Feature name=\"psk:JobHolePunch\"/>"
    "<psf:Feature><psf:Option name=\"psk:Unnamed\"/></psf:Feature>");

using Feature = std::unique_ptr<SchemaFeature>;
using Option = std::unique_ptr<SchemaOption>;

class SchemaFeatureTest : public SchemaTest {
  protected:
    void SetUp() override {
        SchemaTest::SetUp();
        Load(Features);
        nup.reset(document->FindFeature(KeywordsNamespaceUri, W("JobNUpAllDocumentsContiguously")));
        outputBin.reset(document->FindFeature(KeywordsNamespaceUri, W("JobOutputBin")));
        finisher.reset(document->FindFeature(PrivateNamespaceUri, W("JobFinisher")));
        holePunch.reset(document->FindFeature(KeywordsNamespaceUri, W("JobHolePunch")));
        ASSERT_TRUE(nup && outputBin && finisher && holePunch);
    }
    void TearDown() override {
        nup.reset();
        outputBin.reset();
        finisher.reset();
        holePunch.reset();
        SchemaTest::TearDown();
    }

    Feature nup, outputBin, finisher, holePunch;
};

TEST_F(SchemaFeatureTest, FindFeatureSearchesOnlyBelowTheFeature) {
    Feature direction(nup->FindFeature(KeywordsNamespaceUri, W("PresentationDirection")));
    ASSERT_NE(nullptr, direction);
    EXPECT_EQ("psk:PresentationDirection", NameOf(direction->Element()));
    EXPECT_EQ(nullptr,
              Feature(outputBin->FindFeature(KeywordsNamespaceUri, W("PresentationDirection"))));
    EXPECT_EQ(nullptr, Feature(nup->FindFeature(KeywordsNamespaceUri, W("JobOutputBin"))));
    EXPECT_EQ(nullptr, Feature(nup->FindFeature(KeywordsNamespaceUri, nullptr)));
}

TEST_F(SchemaFeatureTest, SubFeaturesAreAddedRemovedAndMovedBelowTheFeature) {
    Feature direction(document->FindFeature(KeywordsNamespaceUri, W("PresentationDirection")));
    ASSERT_NE(nullptr, direction);
    EXPECT_TRUE(nup->RemoveFeature(KeywordsNamespaceUri, W("PresentationDirection")));
    EXPECT_EQ("<detached>", ParentTagOf(direction->Element()));
    EXPECT_EQ(nullptr,
              Feature(document->FindFeature(KeywordsNamespaceUri, W("PresentationDirection"))));

    ASSERT_TRUE(nup->AppendFeature(outputBin.get()));
    EXPECT_EQ("psk:JobNUpAllDocumentsContiguously", ParentNameOf(outputBin->Element()));
    EXPECT_FALSE(document->RemoveFeature(KeywordsNamespaceUri, W("JobOutputBin")));

    Feature added(nup->AddFeature(PrivateNamespaceUri, W("JobPresentationDirection")));
    ASSERT_NE(nullptr, added);
    EXPECT_TRUE(IsLastChild(nup->Element(), added->Element()));
    EXPECT_EQ("ns0000:JobPresentationDirection", NameOf(added->Element()));
}

TEST_F(SchemaFeatureTest, RenameReplacesOnlyTheNameText) {
    ASSERT_TRUE(outputBin->Rename(PrivateNamespaceUri, W("JobOutputBin")));
    EXPECT_EQ("ns0000:JobOutputBin", NameOf(outputBin->Element()));
    EXPECT_EQ(2, ChildCount(outputBin->Element(), "psf:Option"));
    EXPECT_EQ("psf:PrintTicket", ParentTagOf(outputBin->Element()));
    EXPECT_EQ(nullptr, Feature(document->FindFeature(KeywordsNamespaceUri, W("JobOutputBin"))));
    Feature renamed(document->FindFeature(PrivateNamespaceUri, W("JobOutputBin")));
    ASSERT_NE(nullptr, renamed);
    EXPECT_TRUE(SameNode(outputBin->Element(), renamed->Element()));
}

TEST_F(SchemaFeatureTest, RenameThatCannotBeDoneLeavesTheFeature) {
    const std::string before = Saved();
    EXPECT_FALSE(outputBin->Rename(W("http://undeclared.example/names"), W("Bin")));
    EXPECT_FALSE(outputBin->Rename(nullptr, W("Bin")));
    EXPECT_FALSE(outputBin->Rename(KeywordsNamespaceUri, nullptr));

    // A feature without a "name" attribute does not get one.
    ComPtr<IXMLDOMElement> unnamedElement = LastChild(document->Element());
    ASSERT_TRUE(unnamedElement);
    SchemaFeature unnamed(document->Helper(), unnamedElement.Get());
    unnamedElement.Reset();
    EXPECT_FALSE(unnamed.Rename(KeywordsNamespaceUri, W("JobStapling")));
    EXPECT_EQ(before, Saved());
}

TEST_F(SchemaFeatureTest, AddOptionWritesConstrainedOnlyWhenGiven) {
    Option plain(holePunch->AddOption(KeywordsNamespaceUri, W("None")));
    ASSERT_NE(nullptr, plain);
    EXPECT_EQ("psk:None", NameOf(plain->Element()));
    EXPECT_EQ(AbsentAttribute, AttributeText(plain->Element(), "constrained"));

    Option constrained(holePunch->AddOption(PrivateNamespaceUri, W("Four"), KeywordsNamespaceUri,
                                            W("DeviceSettings")));
    ASSERT_NE(nullptr, constrained);
    EXPECT_EQ("ns0000:Four", NameOf(constrained->Element()));
    EXPECT_EQ("psk:DeviceSettings", AttributeText(constrained->Element(), "constrained"));
    EXPECT_TRUE(IsLastChild(holePunch->Element(), constrained->Element()));

    EXPECT_EQ(nullptr, Option(holePunch->AddOption(nullptr, W("None"))));
    EXPECT_EQ(nullptr, Option(holePunch->AddOption(KeywordsNamespaceUri, nullptr)));
    EXPECT_EQ(2, ChildCount(holePunch->Element(), "psf:Option"));
}

TEST_F(SchemaFeatureTest, FindOptionKnowsBothFormsOfOptionName) {
    Option tray(outputBin->FindOption(PrivateNamespaceUri, W("Tray")));
    ASSERT_NE(nullptr, tray);
    EXPECT_EQ("ns0000:Tray", NameOf(tray->Element()));

    Option byScoredProperty(finisher->FindOption(PrivateNamespaceUri, W("Finisher")));
    ASSERT_NE(nullptr, byScoredProperty);
    Option first(finisher->FirstOption());
    ASSERT_NE(nullptr, first);
    EXPECT_TRUE(SameNode(first->Element(), byScoredProperty->Element()));

    EXPECT_EQ(nullptr, Option(outputBin->FindOption(PrivateNamespaceUri, W("Finisher"))));
    EXPECT_EQ(nullptr, Option(outputBin->FindOption(KeywordsNamespaceUri, W("Tray"))));
    EXPECT_EQ(nullptr, Option(outputBin->FindOption(nullptr, W("Tray"))));
}

TEST_F(SchemaFeatureTest, FirstOptionIsTheFirstAtAnyDepth) {
    EXPECT_EQ(nullptr, Option(holePunch->FirstOption()));
    EXPECT_FALSE(holePunch->RemoveFirstOption());

    // The sub-feature's option comes first in document order; it is not a
    // direct child, so it cannot be removed from here.
    Option first(nup->FirstOption());
    ASSERT_NE(nullptr, first);
    EXPECT_EQ("psk:RightBottom", NameOf(first->Element()));
    const std::string before = Saved();
    EXPECT_FALSE(nup->RemoveFirstOption());
    EXPECT_EQ(before, Saved());

    EXPECT_TRUE(outputBin->RemoveFirstOption());
    Option next(outputBin->FirstOption());
    ASSERT_NE(nullptr, next);
    EXPECT_EQ("ns0000:Tray", NameOf(next->Element()));
}

TEST_F(SchemaFeatureTest, RemoveOptionDetachesOnlyDirectChildren) {
    EXPECT_TRUE(outputBin->RemoveOption(PrivateNamespaceUri, W("Tray")));
    EXPECT_EQ(1, ChildCount(outputBin->Element(), "psf:Option"));
    EXPECT_FALSE(outputBin->RemoveOption(PrivateNamespaceUri, W("Tray")));

    const std::string before = Saved();
    EXPECT_FALSE(nup->RemoveOption(KeywordsNamespaceUri, W("RightBottom")));
    EXPECT_FALSE(outputBin->RemoveOption(nullptr, W("Center")));
    EXPECT_EQ(before, Saved());

    EXPECT_TRUE(finisher->RemoveOption(PrivateNamespaceUri, W("Finisher")));
    EXPECT_EQ(0, ChildCount(finisher->Element(), "psf:Option"));
}

} // namespace
