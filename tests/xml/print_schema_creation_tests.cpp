// Creating Feature, Option, Property, ScoredProperty and Value elements.
#include "common/namespaces.h"
#include "dom_test_support.h"
#include "platform_testing.h"

#include <climits>

using namespace ptbridge;

namespace {

const std::string Ticket = Documents.Ticket(
    "<psf:Feature name=\"psk:JobOutputBin\"><psf:Option name=\"psk:Center\"/></psf:Feature>");

class SchemaCreationTest : public DomHelperTest {
  protected:
    void SetUp() override {
        DomHelperTest::SetUp();
        Load(Ticket);
    }
};

TEST_F(SchemaCreationTest, FeatureWithNullParentIsTheRootsLastChild) {
    ComPtr<IXMLDOMElement> feature;
    ASSERT_EQ(
        helper_->CreateFeature(nullptr, KeywordsNamespaceUri, W("JobHolePunch"), feature.Put()),
        S_OK);
    EXPECT_EQ(NodeName(feature.Get()), "psf:Feature");
    EXPECT_EQ(NamespaceOf(feature.Get()), Utf8(FrameworkNamespaceUri));
    EXPECT_EQ(AttributeText(feature.Get(), "name"), "psk:JobHolePunch");
    ComPtr<IXMLDOMElement> last;
    ElementByTag("psf:Feature", 1, last.Put());
    EXPECT_EQ(last.Get(), feature.Get());
    ComPtr<IXMLDOMNode> parent;
    ASSERT_EQ(feature->get_parentNode(parent.Put()), S_OK);
    EXPECT_EQ(NodeName(parent.Get()), "psf:PrintTicket");
}

TEST_F(SchemaCreationTest, NullNameNamespaceWritesTheBareName) {
    ASSERT_EQ(helper_->CreateProperty(nullptr, nullptr, W("Plain"), nullptr), S_OK);
    ComPtr<IXMLDOMElement> property;
    ElementByTag("psf:Property", 0, property.Put());
    EXPECT_EQ(AttributeText(property.Get(), "name"), "Plain");
}

TEST_F(SchemaCreationTest, OptionGetsOnlyTheAttributesItIsGiven) {
    ComPtr<IXMLDOMElement> feature;
    ElementByTag("psf:Feature", 0, feature.Put());
    ComPtr<IXMLDOMElement> bare;
    ASSERT_EQ(helper_->CreateOption(feature.Get(), nullptr, nullptr, nullptr, nullptr, bare.Put()),
              S_OK);
    EXPECT_EQ(AttributeText(bare.Get(), "name"), AbsentAttribute);
    EXPECT_EQ(AttributeText(bare.Get(), "constrained"), AbsentAttribute);

    ComPtr<IXMLDOMElement> full;
    ASSERT_EQ(helper_->CreateOption(feature.Get(), KeywordsNamespaceUri, W("Finisher"),
                                    KeywordsNamespaceUri, W("None"), full.Put()),
              S_OK);
    EXPECT_EQ(AttributeText(full.Get(), "name"), "psk:Finisher");
    EXPECT_EQ(AttributeText(full.Get(), "constrained"), "psk:None");
    EXPECT_EQ(CountByTag("psf:Option"), 3);

    EXPECT_EQ(
        helper_->CreateOption(nullptr, KeywordsNamespaceUri, W("X"), nullptr, nullptr, nullptr),
        E_INVALIDARG);
}

TEST_F(SchemaCreationTest, ScoredPropertyNeedsANameNamespace) {
    ComPtr<IXMLDOMElement> option;
    ElementByTag("psf:Option", 0, option.Put());
    std::string before = Saved();
    EXPECT_EQ(helper_->CreateScoredProperty(option.Get(), nullptr, W("BinType"), nullptr),
              E_INVALIDARG);
    EXPECT_EQ(helper_->CreateScoredProperty(nullptr, KeywordsNamespaceUri, W("BinType"), nullptr),
              E_INVALIDARG);
    EXPECT_EQ(Saved(), before);

    ComPtr<IXMLDOMElement> scored;
    ASSERT_EQ(helper_->CreateScoredProperty(option.Get(), KeywordsNamespaceUri, W("BinType"),
                                            scored.Put()),
              S_OK);
    EXPECT_EQ(NodeName(scored.Get()), "psf:ScoredProperty");
    EXPECT_EQ(AttributeText(scored.Get(), "name"), "psk:BinType");
}

TEST_F(SchemaCreationTest, FailedNameLeavesTheNewElementWithoutItAndTheOutPointerAlone) {
    ComPtr<IXMLDOMElement> feature;
    ElementByTag("psf:Feature", 0, feature.Put());
    IXMLDOMElement* untouched = feature.Get();
    EXPECT_NE(helper_->CreateOption(feature.Get(), W("urn:nowhere"), W("X"), nullptr, nullptr,
                                    &untouched),
              S_OK);
    EXPECT_EQ(untouched, feature.Get());
    ComPtr<IXMLDOMElement> added;
    ElementByTag("psf:Option", 1, added.Put());
    EXPECT_EQ(AttributeText(added.Get(), "name"), AbsentAttribute);
}

TEST_F(SchemaCreationTest, ValueCarriesItsTypeAndText) {
    ComPtr<IXMLDOMElement> option;
    ElementByTag("psf:Option", 0, option.Put());
    ComPtr<IXMLDOMElement> value;
    ASSERT_EQ(helper_->CreateValue(option.Get(), XsdNamespaceUri, W("QName"), W("psk:Center"),
                                   value.Put()),
              S_OK);
    EXPECT_EQ(NodeName(value.Get()), "psf:Value");
    EXPECT_EQ(NodeText(value.Get()), "psk:Center");
    EXPECT_EQ(AttributeText(value.Get(), "xsi:type"), "xsd:QName");
    ComPtr<IXMLDOMAttribute> type;
    ASSERT_EQ(helper_->GetAttributeNode(value.Get(), W("xsi:type"), type.Put()), S_OK);
    EXPECT_EQ(NamespaceOf(type.Get()), Utf8(XsiNamespaceUri));
}

TEST_F(SchemaCreationTest, ValueWithoutTypeNamespaceHasNoTypeAttribute) {
    ComPtr<IXMLDOMElement> option;
    ElementByTag("psf:Option", 0, option.Put());
    ComPtr<IXMLDOMElement> value;
    ASSERT_EQ(helper_->CreateValue(option.Get(), nullptr, W("string"), W("text"), value.Put()),
              S_OK);
    EXPECT_EQ(NodeText(value.Get()), "text");
    EXPECT_EQ(AttributeText(value.Get(), "xsi:type"), AbsentAttribute);
    EXPECT_EQ(helper_->CreateValue(option.Get(), nullptr, nullptr, nullptr, nullptr), E_INVALIDARG);
}

TEST_F(SchemaCreationTest, IntegerValueIsWrittenInDecimal) {
    ComPtr<IXMLDOMElement> option;
    ElementByTag("psf:Option", 0, option.Put());
    struct Case {
        INT value;
        std::string text;
    };
    for (const Case& c : {Case{0, "0"}, Case{-7, "-7"}, Case{1234, "1234"},
                          Case{INT_MIN, "-2147483648"}, Case{INT_MAX, "2147483647"}}) {
        ComPtr<IXMLDOMElement> value;
        ASSERT_EQ(helper_->CreateIntegerValue(option.Get(), XsdNamespaceUri, W("integer"), c.value,
                                              value.Put()),
                  S_OK);
        EXPECT_EQ(NodeText(value.Get()), c.text);
        EXPECT_EQ(AttributeText(value.Get(), "xsi:type"), "xsd:integer");
    }
}

TEST_F(SchemaCreationTest, FailedIntegerConversionCreatesNothing) {
    ComPtr<IXMLDOMElement> option;
    ElementByTag("psf:Option", 0, option.Put());
    std::string before = Saved();
    IXMLDOMElement* untouched = option.Get();
    Arm(1, PlatformFaultAllocation, E_OUTOFMEMORY);
    EXPECT_EQ(helper_->CreateIntegerValue(option.Get(), nullptr, nullptr, 3, &untouched),
              E_OUTOFMEMORY);
    Disarm(1);
    EXPECT_EQ(untouched, option.Get());
    EXPECT_EQ(Saved(), before);
}

TEST_F(SchemaCreationTest, EveryFailureOfAValueReleasesWhatItTook) {
    Unload();
    ForEachInjectedFault(Ticket, [&](LONG nth) {
        ComPtr<IXMLDOMElement> option;
        ElementByTag("psf:Option", 0, option.Put());
        ComPtr<IXMLDOMElement> value;
        Arm(nth, PlatformFaultDom | PlatformFaultAllocation);
        HRESULT hr = helper_->CreateIntegerValue(option.Get(), XsdNamespaceUri, W("integer"), -3,
                                                 value.Put());
        bool injected = Disarm(nth);
        LONG values = CountByTag("psf:Value");
        if (injected) {
            EXPECT_TRUE(hr == InjectedFailure || hr == E_OUTOFMEMORY) << std::hex << hr;
            EXPECT_EQ(value.Get(), nullptr);
            EXPECT_TRUE(values == 0 || values == 1);
        } else {
            EXPECT_EQ(hr, S_OK);
            EXPECT_EQ(NodeText(value.Get()), "-3");
        }
        return injected;
    });
}

} // namespace
