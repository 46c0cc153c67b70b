// Listing, counting, indexing and searching elements by QName and attribute.
#include "common/namespaces.h"
#include "dom_test_support.h"
#include "platform_testing.h"

#include <limits>
#include <string>

using namespace ptbridge;

namespace {

// Features at three depths; one written under a second prefix for the
// framework namespace, which a psf:Feature search must not see.
const std::string Nested = Documents.Ticket(
    "<psf:Feature name=\"psk:A\">"
    "<psf:Feature name=\"psk:A1\"><psf:Feature name=\"psk:A1a\"/></psf:Feature>"
    "</psf:Feature>"
    "<psf:Feature name=\"psk:B\"/>"
    "<psf:Property name=\"psk:Holder\" xmlns:fw=\"" +
    std::string("http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework") +
    "\"><fw:Feature name=\"psk:Other\"/></psf:Property>");

// Names in document order of the elements in `list`.
std::string NamesOf(IXMLDOMNodeList* list) {
    std::string names;
    LONG length = 0;
    EXPECT_EQ(list->get_length(&length), S_OK);
    for (LONG i = 0; i < length; ++i) {
        ComPtr<IXMLDOMNode> node;
        EXPECT_EQ(list->get_item(i, node.Put()), S_OK);
        ComPtr<IXMLDOMElement> element;
        node.QueryTo(IID_IXMLDOMElement, element.Put());
        names += (names.empty() ? "" : " ") + AttributeText(element.Get(), "name");
    }
    return names;
}

class ListAndFindTest : public DomHelperTest {
  protected:
    void ListFeatures(IXMLDOMNodeList** list) {
        ASSERT_EQ(helper_->GetElementsByQName(nullptr, FrameworkNamespaceUri, W("Feature"), list),
                  S_OK);
    }
};

TEST_F(ListAndFindTest, ListHoldsDescendantsAtAnyDepthInDocumentOrder) {
    Load(Nested);
    ComPtr<IXMLDOMNodeList> list;
    ListFeatures(list.Put());
    EXPECT_EQ(NamesOf(list.Get()), "psk:A psk:A1 psk:A1a psk:B");

    ComPtr<IXMLDOMElement> first;
    ElementByTag("psf:Feature", 0, first.Put());
    ASSERT_EQ(
        helper_->GetElementsByQName(first.Get(), FrameworkNamespaceUri, W("Feature"), list.Put()),
        S_OK);
    EXPECT_EQ(NamesOf(list.Get()), "psk:A1 psk:A1a");
}

TEST_F(ListAndFindTest, CountAndIndexFollowTheSameList) {
    Load(Nested);
    ComPtr<IXMLDOMElement> root;
    ElementByTag("psf:PrintTicket", 0, root.Put());
    LONG count = -1;
    ASSERT_EQ(helper_->CountElements(root.Get(), FrameworkNamespaceUri, W("Feature"), &count),
              S_OK);
    EXPECT_EQ(count, 4);

    ComPtr<IXMLDOMElement> element;
    ASSERT_EQ(
        helper_->GetElementAt(root.Get(), FrameworkNamespaceUri, W("Feature"), 2, element.Put()),
        S_OK);
    EXPECT_EQ(AttributeText(element.Get(), "name"), "psk:A1a");

    IXMLDOMElement* past = root.Get();
    EXPECT_EQ(helper_->GetElementAt(root.Get(), FrameworkNamespaceUri, W("Feature"), 4, &past),
              S_FALSE);
    EXPECT_EQ(past, nullptr);
}

TEST_F(ListAndFindTest, CountIsWrittenOnlyOnSuccess) {
    Load(Nested);
    ComPtr<IXMLDOMElement> root;
    ElementByTag("psf:PrintTicket", 0, root.Put());
    LONG count = -1;
    EXPECT_NE(helper_->CountElements(root.Get(), W("urn:nowhere"), W("Feature"), &count), S_OK);
    EXPECT_EQ(count, -1);
    EXPECT_EQ(helper_->CountElements(root.Get(), nullptr, W("Feature"), &count), E_INVALIDARG);
    EXPECT_EQ(helper_->GetElementAt(root.Get(), nullptr, W("Feature"), 0, nullptr), E_INVALIDARG);
}

TEST_F(ListAndFindTest, AttributeLookupMatchesTheWrittenName) {
    Load(Nested);
    ComPtr<IXMLDOMElement> feature;
    ElementByTag("psf:Feature", 0, feature.Put());
    ComPtr<IXMLDOMAttribute> attribute;
    ASSERT_EQ(helper_->GetAttributeNode(feature.Get(), W("name"), attribute.Put()), S_OK);
    EXPECT_EQ(NodeText(attribute.Get()), "psk:A");

    IXMLDOMAttribute* absent = attribute.Get();
    EXPECT_EQ(helper_->GetAttributeNode(feature.Get(), W("constrained"), &absent), S_FALSE);
    EXPECT_EQ(absent, nullptr);
}

TEST_F(ListAndFindTest, FindOverAnEmptyListIsNotFound) {
    Load(Nested);
    ComPtr<IXMLDOMNodeList> list;
    ASSERT_EQ(helper_->GetElementsByQName(nullptr, FrameworkNamespaceUri, W("Option"), list.Put()),
              S_OK);
    ComPtr<IXMLDOMElement> found;
    EXPECT_EQ(helper_->FindByAttributeValue(list.Get(), W("name"), W("psk:A"), found.Put()),
              S_FALSE);
    EXPECT_EQ(found.Get(), nullptr);
}

TEST_F(ListAndFindTest, FindComparesTheWholeTextExactly) {
    Load(Nested);
    for (const WCHAR* near : {W("psk:a"), W("psk:B "), W("psk:"), W("psk:A1a2"), W("")}) {
        ComPtr<IXMLDOMNodeList> list;
        ListFeatures(list.Put());
        ComPtr<IXMLDOMElement> found;
        EXPECT_EQ(helper_->FindByAttributeValue(list.Get(), W("name"), near, found.Put()), S_FALSE)
            << Utf8(near);
        EXPECT_EQ(found.Get(), nullptr);
    }
}

TEST_F(ListAndFindTest, FindTakesTheFirstMatchAndLeavesTheListAfterIt) {
    Load(Nested);
    ComPtr<IXMLDOMNodeList> list;
    ListFeatures(list.Put());
    ComPtr<IXMLDOMElement> found;
    ASSERT_EQ(helper_->FindByAttributeValue(list.Get(), W("name"), W("psk:A1"), found.Put()), S_OK);
    EXPECT_EQ(AttributeText(found.Get(), "name"), "psk:A1");
    ComPtr<IXMLDOMNode> next;
    ASSERT_EQ(list->nextNode(next.Put()), S_OK);
    ComPtr<IXMLDOMElement> nextElement;
    next.QueryTo(IID_IXMLDOMElement, nextElement.Put());
    EXPECT_EQ(AttributeText(nextElement.Get(), "name"), "psk:A1a");

    // The search goes on from where the list stands.
    EXPECT_EQ(helper_->FindByAttributeValue(list.Get(), W("name"), W("psk:A"), found.Put()),
              S_FALSE);
}

TEST_F(ListAndFindTest, FindPassesOverElementsWithoutTheAttribute) {
    Load(Documents.Ticket("<psf:Option><psf:ScoredProperty name=\"psf:OptionName\"/></psf:Option>"
                          "<psf:Option constrained=\"psk:None\"/>"
                          "<psf:Option name=\"psk:Center\"/>"));
    ComPtr<IXMLDOMNodeList> list;
    ASSERT_EQ(helper_->GetElementsByQName(nullptr, FrameworkNamespaceUri, W("Option"), list.Put()),
              S_OK);
    ComPtr<IXMLDOMElement> found;
    ASSERT_EQ(helper_->FindByAttributeValue(list.Get(), W("name"), W("psk:Center"), found.Put()),
              S_OK);
    ComPtr<IXMLDOMElement> third;
    ElementByTag("psf:Option", 2, third.Put());
    EXPECT_EQ(found.Get(), third.Get());
}

// A search reads one attribute text per element it passes; the name it looks
// for is copied once for the whole search, not once per element.
TEST_F(ListAndFindTest, LongSearchCopiesTheAttributeNameOnce) {
    constexpr LONG Features = 40;
    std::string features;
    for (LONG i = 0; i < Features; ++i)
        features += "<psf:Feature name=\"psk:F" + std::to_string(i) + "\"/>";
    Load(Documents.Ticket(features));
    ComPtr<IXMLDOMNodeList> list;
    ListFeatures(list.Put());
    ComPtr<IXMLDOMElement> found;
    // Armed beyond reach: nothing fails, every allocation is counted.
    constexpr LONG Unreached = std::numeric_limits<LONG>::max();
    Arm(Unreached, PlatformFaultAllocation);
    HRESULT hr = helper_->FindByAttributeValue(list.Get(), W("name"), W("psk:F39"), found.Put());
    LONG allocations = PlatformFaultCallCount();
    Disarm(Unreached);
    ASSERT_EQ(hr, S_OK);
    EXPECT_EQ(AttributeText(found.Get(), "name"), "psk:F39");
    EXPECT_LE(allocations, Features + 1);
}

TEST_F(ListAndFindTest, DomFailuresDuringTheSearchAreReturned) {
    ForEachInjectedFault(Nested, [&](LONG nth) {
        ComPtr<IXMLDOMNodeList> list;
        ListFeatures(list.Put());
        ComPtr<IXMLDOMElement> found;
        Arm(nth, PlatformFaultDom | PlatformFaultAllocation);
        HRESULT hr = helper_->FindByAttributeValue(list.Get(), W("name"), W("psk:B"), found.Put());
        bool injected = Disarm(nth);
        if (injected) {
            EXPECT_TRUE(hr == InjectedFailure || hr == E_OUTOFMEMORY) << std::hex << hr;
            EXPECT_EQ(found.Get(), nullptr);
        } else {
            EXPECT_EQ(hr, S_OK);
            EXPECT_EQ(AttributeText(found.Get(), "name"), "psk:B");
        }
        return injected;
    });
}

} // namespace
