// SchemaOption: reading and renaming both forms of option name, and adding,
// finding and removing scored properties.
#include "schema_test_support.h"

#include "common/namespaces.h"
#include "platform_testing.h"
#include "schema/schema_feature.h"
#include "schema/schema_option.h"
#include "schema/schema_property.h"

#include <algorithm>
#include <iterator>
#include <memory>

using namespace ptbridge;

namespace {

const std::string Options = Documents.Ticket(
    "<psf:Feature name=\"psk:JobOutputBin\"><psf:Option name=\"ns0000:Center\">"
    "<psf:ScoredProperty name=\"psk:BinType\">"
    "<psf:Value xsi:type=\"xsd:QName\">psk:Stacker</psf:Value></psf:ScoredProperty>"
    "</psf:Option></psf:Feature>"
    "<psf:Feature name=\"ns0000:JobFinisher\"><psf:Option>"
    "<psf:ScoredProperty name=\"psf:OptionName\">"
    "<psf:Value xsi:type=\"xsd:QName\">ns0000:Finisher</psf:Value></psf:ScoredProperty>"
    "<psf:ScoredProperty name=\"psk:Outer\"><psf:ScoredProperty name=\"psk:Inner\"/>"
    "</psf:ScoredProperty>"
    "</psf:Option></psf:Feature>"
    "<psf:Feature name=\"psk:JobHolePunch\"><psf:Option/></psf:Feature>"
    "<psf:Feature name=\"psk:JobStapleAllDocuments\">"
    "<psf:Option xmlns:loc=\"urn:example:local\" name=\"loc:Corner\"/></psf:Feature>");

using Option = std::unique_ptr<SchemaOption>;
using Property = std::unique_ptr<SchemaProperty>;

class SchemaOptionTest : public SchemaTest {
  protected:
    void SetUp() override {
        SchemaTest::SetUp();
        Load(Options);
        center = FirstOptionOf(KeywordsNamespaceUri, W("JobOutputBin"));
        finisher = FirstOptionOf(PrivateNamespaceUri, W("JobFinisher"));
        unnamed = FirstOptionOf(KeywordsNamespaceUri, W("JobHolePunch"));
        corner = FirstOptionOf(KeywordsNamespaceUri, W("JobStapleAllDocuments"));
        ASSERT_TRUE(center && finisher && unnamed && corner);
    }
    void TearDown() override {
        center.reset();
        finisher.reset();
        unnamed.reset();
        corner.reset();
        SchemaTest::TearDown();
    }

    Option FirstOptionOf(const WCHAR* namespaceUri, const WCHAR* localName) {
        std::unique_ptr<SchemaFeature> feature(document->FindFeature(namespaceUri, localName));
        return Option(feature ? feature->FirstOption() : nullptr);
    }

    // GetName into a roomy buffer, or "<false>".
    static std::string NameRead(SchemaOption& option) {
        WCHAR buffer[64];
        ULONG capacity = 64;
        return option.GetName(buffer, &capacity) ? Utf8(buffer) : "<false>";
    }

    Option center, finisher, unnamed, corner;
};

TEST_F(SchemaOptionTest, GetNameReadsEitherForm) {
    EXPECT_EQ("ns0000:Center", NameRead(*center));
    EXPECT_EQ("ns0000:Finisher", NameRead(*finisher));

    WCHAR buffer[8] = {WCHAR('x'), 0};
    ULONG capacity = 8;
    EXPECT_FALSE(unnamed->GetName(buffer, &capacity));
    EXPECT_EQ(8u, capacity);
    EXPECT_EQ("x", Utf8(buffer));
}

TEST_F(SchemaOptionTest, GetNameFollowsTheBufferProtocolInBothForms) {
    for (SchemaOption* option : {center.get(), finisher.get()}) {
        const std::string expected = NameRead(*option);
        const ULONG needed = static_cast<ULONG>(expected.size() + 1);
        WCHAR buffer[64];
        std::fill(std::begin(buffer), std::end(buffer), WCHAR('x'));
        ULONG capacity = needed - 1;
        EXPECT_FALSE(option->GetName(buffer, &capacity)) << expected;
        EXPECT_EQ(needed, capacity);
        EXPECT_EQ(WCHAR('x'), buffer[0]);
        EXPECT_TRUE(option->GetName(buffer, &capacity)) << expected;
        EXPECT_EQ(needed, capacity);
        EXPECT_EQ(expected, Utf8(buffer));

        capacity = 0x80000000u;
        buffer[0] = WCHAR('x');
        EXPECT_FALSE(option->GetName(buffer, &capacity)) << expected;
        EXPECT_EQ(WCHAR('x'), buffer[0]);
    }
}

TEST_F(SchemaOptionTest, GetNamePartsReadsOnlyTheNameAttribute) {
    // The prefix is resolved where the option stands, not only at the root.
    const struct {
        SchemaOption* option;
        std::string namespaceUri;
        std::string localName;
    } named[] = {{center.get(), Utf8(PrivateNamespaceUri), "Center"},
                 {corner.get(), "urn:example:local", "Corner"}};
    for (const auto& expected : named) {
        SCOPED_TRACE(expected.localName);
        UniqueBstr namespaceUri;
        UniqueBstr localName;
        ASSERT_TRUE(expected.option->GetNameParts(namespaceUri.Put(), localName.Put()));
        EXPECT_EQ(expected.namespaceUri, Utf8(namespaceUri.Get()));
        EXPECT_EQ(expected.localName, Utf8(localName.Get()));
    }

    for (SchemaOption* option : {finisher.get(), unnamed.get()}) {
        UniqueBstr stale(SysAllocString(W("stale")));
        BSTR namespaceUri = stale.Get();
        BSTR localName = nullptr;
        EXPECT_FALSE(option->GetNameParts(&namespaceUri, &localName));
        EXPECT_EQ(nullptr, namespaceUri);
        EXPECT_EQ(nullptr, localName);
    }
}

TEST_F(SchemaOptionTest, RenameOfTheAttributeFormChangesOnlyTheAttribute) {
    ASSERT_TRUE(center->Rename(KeywordsNamespaceUri, W("Stacker")));
    EXPECT_EQ("psk:Stacker", NameOf(center->Element()));
    EXPECT_EQ("psk:Stacker", NameRead(*center));
    EXPECT_EQ(1, ChildCount(center->Element(), "psf:ScoredProperty"));

    ASSERT_TRUE(center->Rename(nullptr, W("Bare")));
    EXPECT_EQ("Bare", NameRead(*center));
}

TEST_F(SchemaOptionTest, RenameOfTheScoredPropertyFormMovesTheNameToAnAttribute) {
    ASSERT_TRUE(finisher->Rename(PrivateNamespaceUri, W("Stapler")));
    EXPECT_EQ("ns0000:Stapler", NameOf(finisher->Element()));
    EXPECT_EQ(nullptr,
              Property(finisher->FindScoredProperty(FrameworkNamespaceUri, W("OptionName"))));
    EXPECT_NE(nullptr, Property(finisher->FindScoredProperty(KeywordsNamespaceUri, W("Outer"))));
    EXPECT_EQ("ns0000:Stapler", NameRead(*finisher));

    UniqueBstr namespaceUri;
    UniqueBstr localName;
    ASSERT_TRUE(finisher->GetNameParts(namespaceUri.Put(), localName.Put()));
    EXPECT_EQ(Utf8(PrivateNamespaceUri), Utf8(namespaceUri.Get()));
    EXPECT_EQ("Stapler", Utf8(localName.Get()));

    // An option named in neither form gets its name just the same.
    ASSERT_TRUE(unnamed->Rename(KeywordsNamespaceUri, W("None")));
    EXPECT_EQ("psk:None", NameRead(*unnamed));
}

TEST_F(SchemaOptionTest, RenameThatCannotBeDoneLeavesTheOption) {
    const std::string before = Saved();
    EXPECT_FALSE(center->Rename(W("http://undeclared.example/names"), W("Stacker")));
    EXPECT_FALSE(finisher->Rename(W("http://undeclared.example/names"), W("Stapler")));
    EXPECT_FALSE(center->Rename(KeywordsNamespaceUri, nullptr));
    EXPECT_FALSE(finisher->Rename(KeywordsNamespaceUri, nullptr));
    EXPECT_EQ(before, Saved());
}

TEST_F(SchemaOptionTest, ScoredPropertiesAreAddedFoundAndRemoved) {
    Property added(center->AddScoredProperty(KeywordsNamespaceUri, W("HoleCount")));
    ASSERT_NE(nullptr, added);
    EXPECT_EQ("psk:HoleCount", NameOf(added->Element()));
    EXPECT_TRUE(IsLastChild(center->Element(), added->Element()));
    EXPECT_EQ(nullptr, Property(center->AddScoredProperty(nullptr, W("HoleCount"))));

    Property binType(center->FindScoredProperty(KeywordsNamespaceUri, W("BinType")));
    ASSERT_NE(nullptr, binType);
    EXPECT_TRUE(center->RemoveScoredProperty(KeywordsNamespaceUri, W("BinType")));
    EXPECT_EQ(nullptr, Property(center->FindScoredProperty(KeywordsNamespaceUri, W("BinType"))));
    EXPECT_EQ("<detached>", ParentTagOf(binType->Element()));
}

TEST_F(SchemaOptionTest, RemoveScoredPropertyDetachesOnlyDirectChildren) {
    const std::string before = Saved();
    EXPECT_FALSE(center->RemoveScoredProperty(KeywordsNamespaceUri, W("HoleCount")));
    EXPECT_FALSE(center->RemoveScoredProperty(nullptr, W("BinType")));
    EXPECT_NE(nullptr, Property(finisher->FindScoredProperty(KeywordsNamespaceUri, W("Inner"))));
    EXPECT_FALSE(finisher->RemoveScoredProperty(KeywordsNamespaceUri, W("Inner")));
    EXPECT_EQ(before, Saved());
}

// Every platform call that GetName, GetNameParts and Rename make may fail; each
// failure gives false, null outputs and no leaked string.
TEST_F(SchemaOptionTest, NameOperationsFailCleanlyAtEveryStep) {
    for (SchemaOption* option : {center.get(), finisher.get()}) {
        for (LONG step = 1;; ++step) {
            const LONG bstrs = PlatformLiveBstrCount();
            WCHAR buffer[64];
            ULONG capacity = 64;
            UniqueBstr namespaceUri;
            UniqueBstr localName;

            PlatformInjectFault(step, PlatformFaultAll, E_FAIL);
            const bool named = option->GetName(buffer, &capacity);
            const bool split = option->GetNameParts(namespaceUri.Put(), localName.Put());
            const bool renamed = option->Rename(PrivateNamespaceUri, W("Renamed"));
            const LONG calls = PlatformFaultCallCount();
            PlatformInjectFault(0, 0, S_OK);

            EXPECT_EQ(64u, capacity);
            EXPECT_EQ(split, namespaceUri.Get() != nullptr);
            EXPECT_EQ(split, localName.Get() != nullptr);
            namespaceUri.Reset();
            localName.Reset();
            EXPECT_EQ(bstrs, PlatformLiveBstrCount()) << "step " << step;
            if (calls < step) {
                EXPECT_TRUE(named && renamed) << "no fault was injected";
                break;
            }
        }
    }
}

} // namespace
