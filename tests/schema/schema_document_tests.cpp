// SchemaDocument: finding, adding, removing and moving features from the root,
// FormatQName's buffer protocol, and a document whose helper could not be made.
#include "schema_test_support.h"

#include "common/namespaces.h"
#include "schema/schema_feature.h"
#include "schema/schema_option.h"

#include <algorithm>
#include <iterator>
#include <memory>

using namespace ptbridge;

namespace {

const WCHAR* const UndeclaredNamespace = W("http://undeclared.example/names");

const std::string NestedFeatures = Documents.Ticket(
    "<psf:Feature name=\"psk:JobNUpAllDocumentsContiguously\">"
    "<psf:Feature name=\"psk:PresentationDirection\"><psf:Option name=\"psk:RightBottom\"/>"
    "</psf:Feature>"
    "<psf:Option name=\"psk:Two\"/>"
    "</psf:Feature>"
    "<psf:Feature name=\"psk:JobOutputBin\"><psf:Option name=\"ns0000:Center\"/></psf:Feature>"
    "<psf:ParameterInit name=\"psk:JobCopiesAllDocuments\">"
    "<psf:Value xsi:type=\"xsd:integer\">1</psf:Value></psf:ParameterInit>");

using Feature = std::unique_ptr<SchemaFeature>;

class SchemaDocumentTest : public SchemaTest {
  protected:
    void SetUp() override {
        SchemaTest::SetUp();
        Load(NestedFeatures);
    }
};

TEST_F(SchemaDocumentTest, FindFeatureSearchesEveryDepth) {
    Feature nested(document->FindFeature(KeywordsNamespaceUri, W("PresentationDirection")));
    ASSERT_NE(nullptr, nested);
    EXPECT_EQ("psk:JobNUpAllDocumentsContiguously", ParentNameOf(nested->Element()));

    Feature topLevel(document->FindFeature(KeywordsNamespaceUri, W("JobOutputBin")));
    ASSERT_NE(nullptr, topLevel);
    EXPECT_EQ("psf:PrintTicket", ParentTagOf(topLevel->Element()));

    EXPECT_EQ(nullptr, Feature(document->FindFeature(KeywordsNamespaceUri, W("JobHolePunch"))));
    EXPECT_EQ(nullptr, Feature(document->FindFeature(PrivateNamespaceUri, W("JobOutputBin"))));
    EXPECT_EQ(nullptr, Feature(document->FindFeature(UndeclaredNamespace, W("JobOutputBin"))));
    EXPECT_EQ(nullptr, Feature(document->FindFeature(nullptr, W("JobOutputBin"))));
    EXPECT_EQ(nullptr, Feature(document->FindFeature(KeywordsNamespaceUri, nullptr)));
}

TEST_F(SchemaDocumentTest, TwoWrappersOfOneFeatureAreIndependent) {
    Feature first(document->FindFeature(KeywordsNamespaceUri, W("JobOutputBin")));
    Feature second(document->FindFeature(KeywordsNamespaceUri, W("JobOutputBin")));
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first.get(), second.get());
    EXPECT_TRUE(SameNode(first->Element(), second->Element()));
    EXPECT_EQ(document->Helper(), first->Helper());

    first.reset();
    std::unique_ptr<SchemaOption> center(second->FirstOption());
    ASSERT_NE(nullptr, center);
    EXPECT_EQ("ns0000:Center", NameOf(center->Element()));
    EXPECT_EQ("psk:JobOutputBin", NameOf(second->Element()));
}

TEST_F(SchemaDocumentTest, AddFeatureAppendsToTheRoot) {
    Feature added(document->AddFeature(PrivateNamespaceUri, W("JobPresentationDirection")));
    ASSERT_NE(nullptr, added);
    EXPECT_EQ("ns0000:JobPresentationDirection", NameOf(added->Element()));
    EXPECT_TRUE(IsLastChild(document->Element(), added->Element()));

    Feature found(document->FindFeature(PrivateNamespaceUri, W("JobPresentationDirection")));
    ASSERT_NE(nullptr, found);
    EXPECT_TRUE(SameNode(added->Element(), found->Element()));
}

TEST_F(SchemaDocumentTest, AddFeatureThatCannotBeNamedFails) {
    const std::string before = Saved();
    EXPECT_EQ(nullptr, Feature(document->AddFeature(nullptr, W("Stapling"))));
    EXPECT_EQ(before, Saved());

    // Edits are never rolled back: the element is appended before its name
    // attribute fails, and stays without one.
    EXPECT_EQ(nullptr, Feature(document->AddFeature(UndeclaredNamespace, W("Stapling"))));
    ComPtr<IXMLDOMElement> unnamed = LastChild(document->Element());
    ASSERT_TRUE(unnamed);
    EXPECT_EQ(AbsentAttribute, NameOf(unnamed.Get()));
}

TEST_F(SchemaDocumentTest, RemoveFeatureDetachesOnlyDirectChildren) {
    const std::string before = Saved();
    EXPECT_FALSE(document->RemoveFeature(KeywordsNamespaceUri, W("PresentationDirection")));
    EXPECT_EQ(before, Saved());

    Feature outputBin(document->FindFeature(KeywordsNamespaceUri, W("JobOutputBin")));
    ASSERT_NE(nullptr, outputBin);
    EXPECT_TRUE(document->RemoveFeature(KeywordsNamespaceUri, W("JobOutputBin")));
    EXPECT_EQ(nullptr, Feature(document->FindFeature(KeywordsNamespaceUri, W("JobOutputBin"))));
    EXPECT_FALSE(document->RemoveFeature(KeywordsNamespaceUri, W("JobOutputBin")));

    // The wrapper of the removed feature still holds it, detached but whole.
    EXPECT_EQ("<detached>", ParentTagOf(outputBin->Element()));
    std::unique_ptr<SchemaOption> center(outputBin->FirstOption());
    ASSERT_NE(nullptr, center);
    EXPECT_EQ("ns0000:Center", NameOf(center->Element()));
}

TEST_F(SchemaDocumentTest, AppendFeatureMovesANestedFeatureToTheEndOfTheRoot) {
    Feature nup(document->FindFeature(KeywordsNamespaceUri, W("JobNUpAllDocumentsContiguously")));
    Feature direction(document->FindFeature(KeywordsNamespaceUri, W("PresentationDirection")));
    ASSERT_NE(nullptr, nup);
    ASSERT_NE(nullptr, direction);

    ASSERT_TRUE(document->AppendFeature(direction.get()));
    EXPECT_EQ("psf:PrintTicket", ParentTagOf(direction->Element()));
    EXPECT_TRUE(IsLastChild(document->Element(), direction->Element()))
        << "after the ParameterInit as well";
    EXPECT_EQ(0, ChildCount(nup->Element(), "psf:Feature"));
    EXPECT_EQ(1, ChildCount(nup->Element(), "psf:Option"));

    // Its subtree came along.
    std::unique_ptr<SchemaOption> option(direction->FirstOption());
    ASSERT_NE(nullptr, option);
    EXPECT_EQ("psk:RightBottom", NameOf(option->Element()));

    const std::string moved = Saved();
    EXPECT_TRUE(document->AppendFeature(direction.get())) << "already the last child";
    EXPECT_EQ(moved, Saved());
    EXPECT_FALSE(document->AppendFeature(nullptr));
}

TEST_F(SchemaDocumentTest, FormatQNameFollowsTheBufferProtocol) {
    // "psk:JobOutputBin" is 16 characters; 17 with the terminator.
    WCHAR buffer[32];
    std::fill(std::begin(buffer), std::end(buffer), WCHAR('x'));
    ULONG capacity = 16;
    EXPECT_FALSE(document->FormatQName(KeywordsNamespaceUri, W("JobOutputBin"), buffer, &capacity));
    EXPECT_EQ(17u, capacity);
    EXPECT_EQ(WCHAR('x'), buffer[0]);
    EXPECT_EQ(WCHAR('x'), buffer[16]);

    EXPECT_TRUE(document->FormatQName(KeywordsNamespaceUri, W("JobOutputBin"), buffer, &capacity));
    EXPECT_EQ(17u, capacity);
    EXPECT_EQ("psk:JobOutputBin", Utf8(buffer));
    EXPECT_EQ(WCHAR('x'), buffer[17]) << "nothing written past the terminator";

    capacity = 0;
    EXPECT_FALSE(document->FormatQName(nullptr, W("Center"), buffer, &capacity));
    EXPECT_EQ(7u, capacity);
    EXPECT_TRUE(document->FormatQName(nullptr, W("Center"), buffer, &capacity));
    EXPECT_EQ("Center", Utf8(buffer));
}

TEST_F(SchemaDocumentTest, FormatQNameThatCannotBeBuiltWritesNothing) {
    WCHAR buffer[32] = {WCHAR('x'), 0};
    ULONG capacity = 32;
    EXPECT_FALSE(document->FormatQName(UndeclaredNamespace, W("Center"), buffer, &capacity));
    EXPECT_FALSE(document->FormatQName(KeywordsNamespaceUri, nullptr, buffer, &capacity));
    EXPECT_EQ(32u, capacity);
    EXPECT_EQ("x", Utf8(buffer));

    // A capacity beyond what a caller buffer may declare is refused whole.
    capacity = 0x80000000u;
    EXPECT_FALSE(document->FormatQName(KeywordsNamespaceUri, W("JobOutputBin"), buffer, &capacity));
    EXPECT_EQ(0x80000000u, capacity);
    EXPECT_EQ("x", Utf8(buffer));
}

// A document whose helper could not be set up wraps nothing and does nothing.
class EmptySchemaDocumentTest : public SchemaTest {};

void ExpectInert(SchemaDocument& empty, SchemaNode* someFeature) {
    EXPECT_EQ(nullptr, empty.Element());
    EXPECT_EQ(nullptr, empty.Helper());
    EXPECT_EQ(nullptr, Feature(empty.AddFeature(KeywordsNamespaceUri, W("JobOutputBin"))));
    EXPECT_EQ(nullptr, Feature(empty.FindFeature(KeywordsNamespaceUri, W("JobOutputBin"))));
    EXPECT_FALSE(empty.RemoveFeature(KeywordsNamespaceUri, W("JobOutputBin")));
    EXPECT_FALSE(empty.AppendFeature(someFeature));
    WCHAR buffer[8] = {WCHAR('x'), 0};
    ULONG capacity = 8;
    EXPECT_FALSE(empty.FormatQName(nullptr, W("Center"), buffer, &capacity));
    EXPECT_EQ(8u, capacity);
    EXPECT_EQ("x", Utf8(buffer));
}

TEST_F(EmptySchemaDocumentTest, WithoutANamespaceManagerEveryOperationFails) {
    Load(NestedFeatures);
    Feature outputBin(document->FindFeature(KeywordsNamespaceUri, W("JobOutputBin")));
    ASSERT_NE(nullptr, outputBin);
    const std::string before = Saved();

    host.namespaceManagerFailure = E_OUTOFMEMORY;
    SchemaDocument empty(dom, &host);
    ExpectInert(empty, outputBin.get());
    EXPECT_EQ(before, Saved());

    // A working document refuses to move the empty document's missing root.
    EXPECT_FALSE(document->AppendFeature(&empty));
    EXPECT_EQ(before, Saved());
}

TEST_F(EmptySchemaDocumentTest, WithoutAHostDocumentEveryOperationFails) {
    SchemaDocument noDocument(nullptr, &host);
    ExpectInert(noDocument, nullptr);
}

} // namespace
