// Creating child elements and QName-valued attributes, and what a failure
// part-way leaves in the document.
#include "common/namespaces.h"
#include "dom_test_support.h"
#include "platform_testing.h"

using namespace ptbridge;

namespace {

const std::string Ticket =
    Documents.Ticket("<psf:Feature name=\"psk:JobOutputBin\"><psf:Option name=\"psk:Center\"/>"
                     "</psf:Feature>");

class CreationTest : public DomHelperTest {};

TEST_F(CreationTest, ChildElementBecomesTheLastChildUnderItsQName) {
    Load(Ticket);
    ComPtr<IXMLDOMElement> feature;
    ElementByTag("psf:Feature", 0, feature.Put());
    ComPtr<IXMLDOMElement> option;
    ASSERT_EQ(helper_->CreateChildElement(feature.Get(), FrameworkNamespaceUri, W("Option"),
                                          option.Put()),
              S_OK);
    EXPECT_EQ(NodeName(option.Get()), "psf:Option");
    EXPECT_EQ(NamespaceOf(option.Get()), Utf8(FrameworkNamespaceUri));
    EXPECT_EQ(CountByTag("psf:Option"), 2);
    ComPtr<IXMLDOMElement> last;
    ElementByTag("psf:Option", 1, last.Put());
    EXPECT_EQ(last.Get(), option.Get());
    EXPECT_EQ(AttributeText(option.Get(), "name"), AbsentAttribute);
}

TEST_F(CreationTest, ChildElementWithoutNamespaceOrOutPointer) {
    Load(Ticket);
    ComPtr<IXMLDOMElement> feature;
    ElementByTag("psf:Feature", 0, feature.Put());
    ASSERT_EQ(helper_->CreateChildElement(feature.Get(), nullptr, W("Plain"), nullptr), S_OK);
    EXPECT_EQ(CountByTag("Plain"), 1);
}

TEST_F(CreationTest, ChildElementInUndeclaredNamespaceLeavesTheParentAlone) {
    Load(Ticket);
    std::string before = Saved();
    ComPtr<IXMLDOMElement> root;
    ElementByTag("psf:PrintTicket", 0, root.Put());
    IXMLDOMElement* element = root.Get();
    EXPECT_NE(helper_->CreateChildElement(root.Get(), W("urn:nowhere"), W("X"), &element), S_OK);
    EXPECT_EQ(element, nullptr);
    EXPECT_EQ(Saved(), before);
}

TEST_F(CreationTest, ChildElementFailuresReleaseTheNodeAndKeepAnAppendedChild) {
    ForEachInjectedFault(Ticket, [&](LONG nth) {
        ComPtr<IXMLDOMElement> feature;
        ElementByTag("psf:Feature", 0, feature.Put());
        ComPtr<IXMLDOMElement> option;
        Arm(nth, PlatformFaultDom | PlatformFaultAllocation);
        HRESULT hr = helper_->CreateChildElement(feature.Get(), FrameworkNamespaceUri, W("Option"),
                                                 option.Put());
        bool injected = Disarm(nth);
        LONG options = CountByTag("psf:Option");
        if (injected) {
            EXPECT_TRUE(hr == InjectedFailure || hr == E_OUTOFMEMORY) << std::hex << hr;
            EXPECT_EQ(option.Get(), nullptr);
            EXPECT_TRUE(options == 1 || options == 2);
        } else {
            EXPECT_EQ(hr, S_OK);
            EXPECT_EQ(options, 2);
        }
        return injected;
    });
}

TEST_F(CreationTest, QNameAttributeTakesItsNameAsWrittenAndAQNameValue) {
    Load(Ticket);
    ComPtr<IXMLDOMElement> option;
    ElementByTag("psf:Option", 0, option.Put());
    ComPtr<IXMLDOMAttribute> attribute;
    ASSERT_EQ(helper_->CreateQNameAttribute(option.Get(), FrameworkNamespaceUri, W("constrained"),
                                            KeywordsNamespaceUri, W("None"), attribute.Put()),
              S_OK);
    EXPECT_EQ(NodeName(attribute.Get()), "constrained");
    EXPECT_EQ(NodeText(attribute.Get()), "psk:None");
    EXPECT_EQ(AttributeText(option.Get(), "constrained"), "psk:None");
}

TEST_F(CreationTest, QNameAttributeWithNullValueNamespaceWritesTheBareValue) {
    Load(Ticket);
    ComPtr<IXMLDOMElement> option;
    ElementByTag("psf:Option", 0, option.Put());
    ASSERT_EQ(helper_->CreateQNameAttribute(option.Get(), nullptr, W("note"), nullptr, W("plain"),
                                            nullptr),
              S_OK);
    EXPECT_EQ(AttributeText(option.Get(), "note"), "plain");
}

TEST_F(CreationTest, QNameAttributeWithUndeclaredValueNamespaceCreatesNothing) {
    Load(Ticket);
    ComPtr<IXMLDOMElement> option;
    ElementByTag("psf:Option", 0, option.Put());
    std::string before = Saved();
    IXMLDOMAttribute* attribute = nullptr;
    EXPECT_NE(helper_->CreateQNameAttribute(option.Get(), nullptr, W("note"), W("urn:nowhere"),
                                            W("x"), &attribute),
              S_OK);
    EXPECT_EQ(attribute, nullptr);
    EXPECT_EQ(Saved(), before);
}

TEST_F(CreationTest, QNameAttributeJoinsTheElementOnlyWhenEveryStepSucceeded) {
    ForEachInjectedFault(Ticket, [&](LONG nth) {
        ComPtr<IXMLDOMElement> option;
        ElementByTag("psf:Option", 0, option.Put());
        ComPtr<IXMLDOMAttribute> attribute;
        Arm(nth, PlatformFaultDom | PlatformFaultAllocation);
        HRESULT hr =
            helper_->CreateQNameAttribute(option.Get(), FrameworkNamespaceUri, W("constrained"),
                                          KeywordsNamespaceUri, W("None"), attribute.Put());
        bool injected = Disarm(nth);
        std::string constrained = AttributeText(option.Get(), "constrained");
        if (injected) {
            EXPECT_TRUE(hr == InjectedFailure || hr == E_OUTOFMEMORY) << std::hex << hr;
            EXPECT_EQ(attribute.Get(), nullptr);
            EXPECT_EQ(constrained, AbsentAttribute);
        } else {
            EXPECT_EQ(hr, S_OK);
            EXPECT_EQ(constrained, "psk:None");
        }
        return injected;
    });
}

TEST_F(CreationTest, RequiredArgumentsAreTestedBeforeAnythingHappens) {
    Load(Ticket);
    ComPtr<IXMLDOMElement> option;
    ElementByTag("psf:Option", 0, option.Put());
    std::string before = Saved();
    IXMLDOMElement* element = option.Get();
    EXPECT_EQ(helper_->CreateChildElement(nullptr, nullptr, W("x"), &element), E_INVALIDARG);
    EXPECT_EQ(element, option.Get());
    EXPECT_EQ(helper_->CreateChildElement(option.Get(), nullptr, nullptr, &element), E_INVALIDARG);
    EXPECT_EQ(helper_->CreateQNameAttribute(nullptr, nullptr, W("a"), nullptr, W("b"), nullptr),
              E_INVALIDARG);
    EXPECT_EQ(
        helper_->CreateQNameAttribute(option.Get(), nullptr, nullptr, nullptr, W("b"), nullptr),
        E_INVALIDARG);
    EXPECT_EQ(
        helper_->CreateQNameAttribute(option.Get(), nullptr, W("a"), nullptr, nullptr, nullptr),
        E_INVALIDARG);
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(contexts_.pushed, 0);
}

} // namespace
