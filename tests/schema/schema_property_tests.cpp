// SchemaProperty and SchemaValue: typed values appended to a property, the
// first value found and removed, and a value's text read into a caller buffer.
#include "schema_test_support.h"

#include "common/namespaces.h"
#include "platform_testing.h"
#include "schema/schema_feature.h"
#include "schema/schema_option.h"
#include "schema/schema_property.h"
#include "schema/schema_value.h"

#include <algorithm>
#include <iterator>
#include <memory>

using namespace ptbridge;

namespace {

const std::string Properties = Documents.Ticket(
    "<psf:Feature name=\"psk:JobHolePunch\"><psf:Option name=\"psk:Left\">"
    "<psf:ScoredProperty name=\"psk:HoleCount\">"
    "<psf:Value xsi:type=\"xsd:integer\">2</psf:Value></psf:ScoredProperty>"
    "<psf:ScoredProperty name=\"psk:Empty\"/>"
    "<psf:ScoredProperty name=\"psk:Outer\"><psf:ScoredProperty name=\"psk:Inner\">"
    "<psf:Value xsi:type=\"xsd:string\">deep</psf:Value></psf:ScoredProperty>"
    "</psf:ScoredProperty>"
    "<psf:ScoredProperty name=\"psk:Blank\"><psf:Value/></psf:ScoredProperty>"
    "</psf:Option></psf:Feature>");

using Property = std::unique_ptr<SchemaProperty>;
using Value = std::unique_ptr<SchemaValue>;

class SchemaPropertyTest : public SchemaTest {
  protected:
    void SetUp() override {
        SchemaTest::SetUp();
        Load(Properties);
        std::unique_ptr<SchemaFeature> feature(
            document->FindFeature(KeywordsNamespaceUri, W("JobHolePunch")));
        ASSERT_NE(nullptr, feature);
        option.reset(feature->FirstOption());
        ASSERT_NE(nullptr, option);
        holeCount = ScoredProperty(W("HoleCount"));
        empty = ScoredProperty(W("Empty"));
        outer = ScoredProperty(W("Outer"));
        ASSERT_TRUE(holeCount && empty && outer);
    }
    void TearDown() override {
        holeCount.reset();
        empty.reset();
        outer.reset();
        option.reset();
        SchemaTest::TearDown();
    }

    Property ScoredProperty(const WCHAR* localName) {
        return Property(option->FindScoredProperty(KeywordsNamespaceUri, localName));
    }

    // GetText into a roomy buffer, or "<false>".
    static std::string TextOf(SchemaValue* value) {
        WCHAR buffer[64];
        ULONG capacity = 64;
        return value != nullptr && value->GetText(buffer, &capacity) ? Utf8(buffer) : "<false>";
    }

    std::unique_ptr<SchemaOption> option;
    Property holeCount, empty, outer;
};

TEST_F(SchemaPropertyTest, ValuesAreAppendedNeverReplaced) {
    Value integer(holeCount->AddIntegerValue(-3));
    Value text(holeCount->AddStringValue(W("three")));
    Value qname(holeCount->AddQNameValue(KeywordsNamespaceUri, W("Stacker")));
    Value bare(holeCount->AddQNameValue(nullptr, W("Stacker")));
    ASSERT_TRUE(integer && text && qname && bare);
    EXPECT_EQ(5, ChildCount(holeCount->Element(), "psf:Value"));

    EXPECT_EQ("-3", TextOf(integer.get()));
    EXPECT_EQ("xsd:integer", AttributeText(integer->Element(), "xsi:type"));
    EXPECT_EQ("three", TextOf(text.get()));
    EXPECT_EQ("xsd:string", AttributeText(text->Element(), "xsi:type"));
    EXPECT_EQ("psk:Stacker", TextOf(qname.get()));
    EXPECT_EQ("xsd:QName", AttributeText(qname->Element(), "xsi:type"));
    EXPECT_EQ("Stacker", TextOf(bare.get()));

    EXPECT_TRUE(IsLastChild(holeCount->Element(), bare->Element()));

    Value first(holeCount->FirstValue());
    EXPECT_EQ("2", TextOf(first.get()));
}

TEST_F(SchemaPropertyTest, ValuesThatCannotBeWrittenAreNotAdded) {
    const std::string before = Saved();
    EXPECT_EQ(nullptr, Value(empty->AddQNameValue(W("http://undeclared.example/names"), W("X"))));
    EXPECT_EQ(nullptr, Value(empty->AddQNameValue(KeywordsNamespaceUri, nullptr)));
    EXPECT_EQ(nullptr, Value(empty->AddStringValue(nullptr)));
    EXPECT_EQ(before, Saved());
}

TEST_F(SchemaPropertyTest, FirstValueAndItsRemoval) {
    EXPECT_EQ(nullptr, Value(empty->FirstValue()));
    EXPECT_FALSE(empty->RemoveFirstValue());

    // A value inside a nested scored property is found but is no direct child.
    Value nested(outer->FirstValue());
    EXPECT_EQ("deep", TextOf(nested.get()));
    const std::string before = Saved();
    EXPECT_FALSE(outer->RemoveFirstValue());
    EXPECT_EQ(before, Saved());

    Value added(holeCount->AddIntegerValue(4));
    ASSERT_NE(nullptr, added);
    EXPECT_TRUE(holeCount->RemoveFirstValue());
    Value first(holeCount->FirstValue());
    ASSERT_NE(nullptr, first);
    EXPECT_TRUE(SameNode(added->Element(), first->Element()));
    EXPECT_TRUE(holeCount->RemoveFirstValue());
    EXPECT_EQ(nullptr, Value(holeCount->FirstValue()));
    EXPECT_EQ("4", TextOf(added.get())) << "a detached value can still be read";
}

TEST_F(SchemaPropertyTest, GetTextFollowsTheBufferProtocol) {
    Value deep(outer->FirstValue());
    ASSERT_NE(nullptr, deep);
    WCHAR buffer[16];
    std::fill(std::begin(buffer), std::end(buffer), WCHAR('x'));
    ULONG capacity = 4;
    EXPECT_FALSE(deep->GetText(buffer, &capacity));
    EXPECT_EQ(5u, capacity);
    EXPECT_EQ(WCHAR('x'), buffer[0]);
    EXPECT_TRUE(deep->GetText(buffer, &capacity));
    EXPECT_EQ(5u, capacity);
    EXPECT_EQ("deep", Utf8(buffer));
    EXPECT_EQ(WCHAR('x'), buffer[5]);

    capacity = 0x80000000u;
    buffer[0] = WCHAR('x');
    EXPECT_FALSE(deep->GetText(buffer, &capacity));
    EXPECT_EQ(WCHAR('x'), buffer[0]);

    // An empty value needs its terminator only.
    Property blank = ScoredProperty(W("Blank"));
    ASSERT_NE(nullptr, blank);
    Value nothing(blank->FirstValue());
    ASSERT_NE(nullptr, nothing);
    capacity = 0;
    EXPECT_FALSE(nothing->GetText(buffer, &capacity));
    EXPECT_EQ(1u, capacity);
    EXPECT_TRUE(nothing->GetText(buffer, &capacity));
    EXPECT_EQ(WCHAR(0), buffer[0]);
}

// Every platform call of the value creations may fail; each failure gives
// null and leaks no string.
TEST_F(SchemaPropertyTest, ValueCreationFailsCleanlyAtEveryStep) {
    for (LONG step = 1;; ++step) {
        const LONG bstrs = PlatformLiveBstrCount();
        PlatformInjectFault(step, PlatformFaultAll, E_FAIL);
        Value qname(empty->AddQNameValue(KeywordsNamespaceUri, W("Stacker")));
        Value integer(empty->AddIntegerValue(-12));
        const LONG calls = PlatformFaultCallCount();
        PlatformInjectFault(0, 0, S_OK);
        EXPECT_EQ(bstrs, PlatformLiveBstrCount()) << "step " << step;
        if (calls < step) {
            EXPECT_EQ("psk:Stacker", TextOf(qname.get()));
            EXPECT_EQ("-12", TextOf(integer.get()));
            break;
        }
    }
}

} // namespace
