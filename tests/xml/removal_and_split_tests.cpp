// Removing children, resolving a QName's namespace in context, and splitting
// QName text.
#include "common/namespaces.h"
#include "dom_test_support.h"
#include "platform_testing.h"

using namespace ptbridge;

namespace {

const std::string Ticket = PrintSchemaRoot(PrintSchemaDeclarations() + " xmlns=\"urn:default\"")
                               .Ticket("<psf:Feature name=\"psk:JobOutputBin\">"
                                       "<psf:Option name=\"psk:Center\"/>"
                                       "<psf:Feature name=\"psk:Inner\" xmlns:mid=\"urn:middle\">"
                                       "<psf:Option name=\"mid:Deep\"/>"
                                       "</psf:Feature>"
                                       "</psf:Feature>"
                                       "<psf:Property name=\"psk:JobName\"/>");

class RemovalTest : public DomHelperTest {};

TEST_F(RemovalTest, NullParentRemovesADirectChildOfTheRoot) {
    Load(Ticket);
    ComPtr<IXMLDOMElement> property;
    ElementByTag("psf:Property", 0, property.Put());
    ASSERT_EQ(helper_->RemoveChild(nullptr, property.Get()), S_OK);
    EXPECT_EQ(CountByTag("psf:Property"), 0);
}

TEST_F(RemovalTest, ChildOfTheGivenParentIsRemoved) {
    Load(Ticket);
    ComPtr<IXMLDOMElement> outer;
    ElementByTag("psf:Feature", 0, outer.Put());
    ComPtr<IXMLDOMElement> inner;
    ElementByTag("psf:Feature", 1, inner.Put());
    ASSERT_EQ(helper_->RemoveChild(outer.Get(), inner.Get()), S_OK);
    EXPECT_EQ(CountByTag("psf:Feature"), 1);
    EXPECT_EQ(CountByTag("psf:Option"), 1);
}

TEST_F(RemovalTest, DeeperDescendantIsNotRemoved) {
    Load(Ticket);
    std::string before = Saved();
    ComPtr<IXMLDOMElement> option;
    ElementByTag("psf:Option", 0, option.Put());
    EXPECT_NE(helper_->RemoveChild(nullptr, option.Get()), S_OK);
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(helper_->RemoveChild(nullptr, nullptr), E_INVALIDARG);
}

class ResolveTest : public DomHelperTest {};

TEST_F(ResolveTest, PrefixDeclaredBetweenRootAndContextIsResolved) {
    Load(Ticket);
    ComPtr<IXMLDOMElement> deep;
    ElementByTag("psf:Option", 1, deep.Put());
    UniqueBstr uri;
    ASSERT_EQ(helper_->ResolveQNameNamespace(deep.Get(), W("mid:Deep"), uri.Put()), S_OK);
    EXPECT_EQ(Utf8(uri.Get()), "urn:middle");
    EXPECT_EQ(uri.Length(), 10u);

    ASSERT_EQ(helper_->ResolveQNameNamespace(deep.Get(), W("psk:Center"), uri.Put()), S_OK);
    EXPECT_EQ(Utf8(uri.Get()), Utf8(KeywordsNamespaceUri));
}

TEST_F(ResolveTest, PrefixOutOfScopeAtTheContextFails) {
    Load(Ticket);
    ComPtr<IXMLDOMElement> center;
    ElementByTag("psf:Option", 0, center.Put());
    UniqueBstr stale(SysAllocString(W("stale")));
    BSTR uri = stale.Get();
    HRESULT hr = helper_->ResolveQNameNamespace(center.Get(), W("mid:Deep"), &uri);
    EXPECT_NE(hr, S_OK);
    EXPECT_EQ(uri, nullptr);
}

TEST_F(ResolveTest, TextWithoutPrefixResolvesToTheDefaultNamespace) {
    Load(Ticket);
    ComPtr<IXMLDOMElement> root;
    ElementByTag("psf:PrintTicket", 0, root.Put());
    UniqueBstr uri;
    ASSERT_EQ(helper_->ResolveQNameNamespace(root.Get(), W("Plain"), uri.Put()), S_OK);
    EXPECT_EQ(Utf8(uri.Get()), "urn:default");
}

TEST_F(ResolveTest, EveryFailedStepFreesTheBufferAndPopsTheContext) {
    for (unsigned kinds : {unsigned(PlatformFaultDom), unsigned(PlatformFaultAllocation)}) {
        ForEachInjectedFault(Ticket, [&](LONG nth) {
            ComPtr<IXMLDOMElement> deep;
            ElementByTag("psf:Option", 1, deep.Put());
            UniqueBstr uri;
            Arm(nth, kinds);
            HRESULT hr = helper_->ResolveQNameNamespace(deep.Get(), W("mid:Deep"), uri.Put());
            bool injected = Disarm(nth);
            if (injected) {
                EXPECT_EQ(hr, kinds == PlatformFaultDom ? InjectedFailure : E_OUTOFMEMORY);
                EXPECT_EQ(uri.Get(), nullptr);
            } else {
                EXPECT_EQ(hr, S_OK);
                EXPECT_EQ(Utf8(uri.Get()), "urn:middle");
            }
            return injected;
        });
    }
}

class SplitTest : public DomHelperTest {};

TEST_F(SplitTest, SplitsAtTheFirstColon) {
    Load(Ticket);
    struct Case {
        const WCHAR* qName;
        std::string prefix;
        std::string local;
    };
    for (const Case& c : {Case{W("psk:Center"), "psk", "Center"}, Case{W("a:b:c"), "a", "b:c"},
                          Case{W("Plain"), "", "Plain"}, Case{W(":lead"), "", "lead"},
                          Case{W("trail:"), "trail", ""}, Case{W(""), "", ""}}) {
        UniqueBstr prefix;
        UniqueBstr local;
        ASSERT_EQ(helper_->PrefixPartOf(c.qName, prefix.Put()), S_OK) << Utf8(c.qName);
        ASSERT_EQ(helper_->LocalPartOf(c.qName, local.Put()), S_OK) << Utf8(c.qName);
        ASSERT_NE(prefix.Get(), nullptr);
        ASSERT_NE(local.Get(), nullptr);
        EXPECT_EQ(Utf8(prefix.Get()), c.prefix) << Utf8(c.qName);
        EXPECT_EQ(prefix.Length(), c.prefix.size());
        EXPECT_EQ(Utf8(local.Get()), c.local) << Utf8(c.qName);
        EXPECT_EQ(local.Length(), c.local.size());
    }
}

TEST_F(SplitTest, FailedCopyIsOutOfMemory) {
    Load(Ticket);
    BSTR part = nullptr;
    Arm(1, PlatformFaultAllocation);
    EXPECT_EQ(helper_->PrefixPartOf(W("psk:Center"), &part), E_OUTOFMEMORY);
    EXPECT_EQ(part, nullptr);
    Arm(1, PlatformFaultAllocation);
    EXPECT_EQ(helper_->LocalPartOf(W("psk:Center"), &part), E_OUTOFMEMORY);
    EXPECT_EQ(part, nullptr);
    Disarm(1);
    EXPECT_EQ(helper_->LocalPartOf(nullptr, &part), E_INVALIDARG);
    EXPECT_EQ(helper_->PrefixPartOf(W("a:b"), nullptr), E_INVALIDARG);
}

} // namespace
