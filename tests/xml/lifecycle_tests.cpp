// Building, re-initialising and destroying the helper, and what a helper
// whose initialisation failed does.
#include "common/namespaces.h"
#include "dom_test_support.h"
#include "fake_core_helper.h"
#include "msxml_standin.h"
#include "platform_testing.h"

#include <functional>
#include <utility>

using namespace ptbridge;

namespace {

const std::string Ticket = Documents.Ticket(
    "<psf:Feature name=\"psk:JobOutputBin\"><psf:Option name=\"psk:Center\"/></psf:Feature>");

class LifecycleTest : public DomHelperTest {
  protected:
    // Every operation of `helper` gives E_FAIL, nulls its out-values and leaves
    // the document as it was.
    void ExpectInert(PrintSchemaDomHelper& helper) {
        ComPtr<IXMLDOMElement> root;
        ElementByTag("psf:PrintTicket", 0, root.Put());
        ComPtr<IXMLDOMElement> feature;
        ElementByTag("psf:Feature", 0, feature.Put());
        ComPtr<IXMLDOMNodeList> list;
        ElementByTagList("psf:Option", list.Put());
        std::string before = Saved();
        IXMLDOMElement* sentinel = reinterpret_cast<IXMLDOMElement*>(root.Get());

        UniqueBstr stale(SysAllocString(W("stale")));
        BSTR text = stale.Get();
        EXPECT_EQ(helper.MakeQName(nullptr, W("Feature"), &text), E_FAIL);
        EXPECT_EQ(text, nullptr);

        LONG count = 7;
        EXPECT_EQ(helper.CountElements(root.Get(), FrameworkNamespaceUri, W("Feature"), &count),
                  E_FAIL);
        EXPECT_EQ(count, 7);

        const WCHAR* framework = FrameworkNamespaceUri;
        const WCHAR* keywords = KeywordsNamespaceUri;
        using ElementOperation = std::function<HRESULT(IXMLDOMElement**)>;
        // The operations that answer an element, the Print Schema ones with
        // parents that may be null included.
        const std::pair<const char*, ElementOperation> elementOperations[] = {
            {"CreateChildElement",
             [&](auto out) { return helper.CreateChildElement(root.Get(), nullptr, W("x"), out); }},
            {"GetRootElement", [&](auto out) { return helper.GetRootElement(out); }},
            {"GetElementAt",
             [&](auto out) {
                 return helper.GetElementAt(root.Get(), framework, W("Feature"), 0, out);
             }},
            {"FindByAttributeValue",
             [&](auto out) {
                 return helper.FindByAttributeValue(list.Get(), W("name"), W("psk:Center"), out);
             }},
            {"CreateFeature",
             [&](auto out) { return helper.CreateFeature(nullptr, keywords, W("F"), out); }},
            {"CreateOption",
             [&](auto out) {
                 return helper.CreateOption(feature.Get(), keywords, W("O"), nullptr, nullptr, out);
             }},
            {"FindFeature",
             [&](auto out) {
                 return helper.FindFeature(nullptr, keywords, W("JobOutputBin"), out);
             }},
            {"FindOption",
             [&](auto out) {
                 return helper.FindOption(feature.Get(), keywords, W("Center"), out);
             }},
            {"GetFirstOption", [&](auto out) { return helper.GetFirstOption(feature.Get(), out); }},
            {"FindProperty",
             [&](auto out) { return helper.FindProperty(nullptr, keywords, W("P"), out); }},
            {"FindScoredProperty",
             [&](auto out) {
                 return helper.FindScoredProperty(feature.Get(), keywords, W("S"), out);
             }},
            {"GetFirstValue", [&](auto out) { return helper.GetFirstValue(feature.Get(), out); }},
        };
        for (const auto& [name, operation] : elementOperations) {
            SCOPED_TRACE(name);
            IXMLDOMElement* element = sentinel;
            EXPECT_EQ(operation(&element), E_FAIL);
            EXPECT_EQ(element, nullptr);
        }

        IXMLDOMAttribute* attribute = reinterpret_cast<IXMLDOMAttribute*>(sentinel);
        EXPECT_EQ(helper.CreateQNameAttribute(feature.Get(), nullptr, W("a"), nullptr, W("b"),
                                              &attribute),
                  E_FAIL);
        EXPECT_EQ(attribute, nullptr);
        attribute = reinterpret_cast<IXMLDOMAttribute*>(sentinel);
        EXPECT_EQ(helper.GetAttributeNode(feature.Get(), W("name"), &attribute), E_FAIL);
        EXPECT_EQ(attribute, nullptr);
        IXMLDOMNodeList* nodes = reinterpret_cast<IXMLDOMNodeList*>(sentinel);
        EXPECT_EQ(helper.GetElementsByQName(nullptr, nullptr, W("Feature"), &nodes), E_FAIL);
        EXPECT_EQ(nodes, nullptr);
        EXPECT_EQ(helper.RemoveChild(nullptr, feature.Get()), E_FAIL);
        BSTR out = nullptr;
        EXPECT_EQ(helper.ResolveQNameNamespace(root.Get(), W("psk:Center"), &out), E_FAIL);
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(helper.LocalPartOf(W("psk:Center"), &out), E_FAIL);
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(helper.PrefixPartOf(W("psk:Center"), &out), E_FAIL);
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(helper.CreateProperty(nullptr, keywords, W("P"), nullptr), E_FAIL);
        EXPECT_EQ(helper.CreateScoredProperty(feature.Get(), keywords, W("S"), nullptr), E_FAIL);
        EXPECT_EQ(helper.CreateIntegerValue(feature.Get(), nullptr, nullptr, 5, nullptr), E_FAIL);
        EXPECT_EQ(helper.CreateValue(feature.Get(), nullptr, nullptr, W("v"), nullptr), E_FAIL);

        EXPECT_EQ(Saved(), before);
    }

    void ElementByTagList(const std::string& tagName, IXMLDOMNodeList** list) {
        UniqueBstr name(SysAllocString(Wide(tagName).c_str()));
        EXPECT_EQ(document_->getElementsByTagName(name.Get(), list), S_OK);
    }
};

TEST_F(LifecycleTest, HelperWithoutNamespaceManagerIsInertAndHoldsNothing) {
    Load(Ticket);
    FakeCoreHelper refusing;
    refusing.namespaceManagerFailure = E_OUTOFMEMORY;
    {
        PrintSchemaDomHelper helper(document_.Get(), &refusing);
        EXPECT_EQ(helper.Initialize(document_.Get(), &refusing), E_OUTOFMEMORY);
        ExpectInert(helper);
    }
    EXPECT_EQ(refusing.References(), 1);
}

TEST_F(LifecycleTest, HelperBuiltOverNullArgumentsIsInert) {
    Load(Ticket);
    PrintSchemaDomHelper withoutDocument(nullptr, &core_);
    EXPECT_EQ(withoutDocument.Initialize(nullptr, &core_), E_INVALIDARG);
    EXPECT_EQ(withoutDocument.Initialize(document_.Get(), nullptr), E_INVALIDARG);
    ExpectInert(withoutDocument);
}

TEST_F(LifecycleTest, DocumentWithoutRootLeavesHelperInert) {
    Load(Ticket);
    ComPtr<IXMLDOMDocument2> empty;
    ASSERT_EQ(CreateDomDocument(empty.Put()), S_OK);
    PrintSchemaDomHelper helper(empty.Get(), &core_);
    EXPECT_NE(helper.Initialize(empty.Get(), &core_), S_OK);
    ExpectInert(helper);
}

TEST_F(LifecycleTest, FailedStepOfInitializeReleasesWhatWasTaken) {
    Load(Ticket);
    for (LONG nth = 1; nth < 100; ++nth) {
        Arm(nth, PlatformFaultDom | PlatformFaultHost | PlatformFaultAllocation);
        HRESULT hr = helper_->Initialize(document_.Get(), &core_);
        bool injected = Disarm(nth);
        if (!injected) {
            EXPECT_EQ(hr, S_OK);
            break;
        }
        EXPECT_NE(hr, S_OK);
        ExpectInert(*helper_);
    }
}

TEST_F(LifecycleTest, InitializeAgainMovesTheHelperToTheNewDocument) {
    Load(Ticket);
    ComPtr<IXMLDOMDocument2> other;
    ASSERT_EQ(LoadDocumentFromString(Documents.Ticket("<psf:Property name=\"psk:P\"/>"),
                                     other.Put(), nullptr),
              S_OK);
    EXPECT_EQ(helper_->Initialize(other.Get(), &core_), S_OK);
    other.Reset();
    ComPtr<IXMLDOMElement> property;
    EXPECT_EQ(helper_->FindProperty(nullptr, KeywordsNamespaceUri, W("P"), property.Put()), S_OK);
    // Initialising over the same document again must not drop its last reference.
    EXPECT_EQ(helper_->Initialize(document_.Get(), &core_), S_OK);
    EXPECT_EQ(helper_->Initialize(document_.Get(), &core_), S_OK);
    ComPtr<IXMLDOMElement> root;
    EXPECT_EQ(helper_->GetRootElement(root.Put()), S_OK);
    EXPECT_EQ(NodeName(root.Get()), "psf:PrintTicket");
}

} // namespace
