// The host's own namespace manager, over whichever DOM the test program runs
// on: the stand-in DOM natively, Wine's MSXML 6 in the Windows test program.
#include "test_documents.h"
#include "windows/dom_namespace_manager.h"

#include <gtest/gtest.h>

#include <string>

using namespace ptbridge;

namespace {
// "r" is redeclared below the root, the default namespace is undeclared on
// "bare", and "pv" is declared on the root without naming any element.
const char* const Nested = R"(<r:root xmlns:r="urn:outer" xmlns="urn:default" xmlns:pv="urn:pv">
  <inner xmlns:r="urn:inner">
    <r:leaf/>
    <bare xmlns=""/>
  </inner>
</r:root>)";

// A Print Schema document whose framework namespace is the default one.
const char* const DefaultFramework =
    R"(<PrintTicket xmlns="urn:framework" xmlns:psk="urn:keywords" version="1"/>)";

const WCHAR* Wide(const char16_t* text) {
    return reinterpret_cast<const WCHAR*>(text);
}

class DomNamespaceManagerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(DomNamespaceManager::Create(IID_IMXNamespaceManager, manager.PutVoid()), S_OK);
    }

    // The prefix at `index` bound to `uri`, or "(none)" (E_FAIL: not declared).
    std::u16string Prefix(const char16_t* uri, LONG index = 0) {
        return TwoCallText(E_FAIL, [&](WCHAR* buffer, int* length) {
            return manager->getPrefix(Wide(uri), index, buffer, length);
        });
    }

    // The URI bound to `prefix`, in the contexts or at `node`, or "(none)"
    // (S_FALSE: not bound).
    std::u16string Uri(const char16_t* prefix, IXMLDOMNode* node = nullptr) {
        return TwoCallText(S_FALSE, [&](WCHAR* buffer, int* length) {
            return manager->getURI(Wide(prefix), node, buffer, length);
        });
    }

    // A text result read with the two-call pattern: its length without a
    // buffer, then the text into a buffer one longer; "(none)" when the first
    // call answers `none`.
    template <typename Read> static std::u16string TwoCallText(HRESULT none, Read read) {
        int length = 0;
        HRESULT hr = read(nullptr, &length);
        if (hr == none)
            return u"(none)";
        EXPECT_EQ(hr, S_OK);
        std::u16string text(length + 1, u'?');
        int capacity = length + 1;
        EXPECT_EQ(read(reinterpret_cast<WCHAR*>(&text[0]), &capacity), S_OK);
        text.resize(length);
        return text;
    }

    ComPtr<IMXNamespaceManager> manager;
};

TEST_F(DomNamespaceManagerTest, TheNearestBindingWinsAlongTheAncestors) {
    ComPtr<IXMLDOMDocument2> document = ParseTestDocument(Nested);
    ComPtr<IXMLDOMNode> leaf = FindElement(document.Get(), u"leaf");
    ASSERT_TRUE(leaf);
    ASSERT_EQ(manager->pushNodeContext(leaf.Get(), VARIANT_TRUE), S_OK);
    EXPECT_EQ(Uri(u"r"), u"urn:inner");
    EXPECT_EQ(Prefix(u"urn:inner"), u"r");
    EXPECT_EQ(Prefix(u"urn:outer"), u"(none)") << "the outer r is hidden by the inner one";
    EXPECT_EQ(Uri(u""), u"urn:default") << "shown by the unprefixed ancestor";
    EXPECT_EQ(Uri(u"xml"), u"http://www.w3.org/XML/1998/namespace");
    EXPECT_EQ(manager->popContext(), S_OK);
    EXPECT_EQ(Uri(u"r"), u"(none)");
}

TEST_F(DomNamespaceManagerTest, AnEmptyDefaultDeclarationUnbindsTheDefault) {
    ComPtr<IXMLDOMDocument2> document = ParseTestDocument(Nested);
    ComPtr<IXMLDOMNode> bare = FindElement(document.Get(), u"bare");
    ASSERT_TRUE(bare);
    ASSERT_EQ(manager->pushNodeContext(bare.Get(), VARIANT_TRUE), S_OK);
    EXPECT_EQ(Uri(u""), u"(none)");
    EXPECT_EQ(Prefix(u"urn:default"), u"(none)");
}

TEST_F(DomNamespaceManagerTest, AShallowContextHoldsTheNodeAlone) {
    ComPtr<IXMLDOMDocument2> document = ParseTestDocument(Nested);
    ComPtr<IXMLDOMNode> leaf = FindElement(document.Get(), u"leaf");
    ASSERT_TRUE(leaf);
    ASSERT_EQ(manager->pushNodeContext(leaf.Get(), VARIANT_FALSE), S_OK);
    EXPECT_EQ(Uri(u"r"), u"urn:inner");
    EXPECT_EQ(Uri(u""), u"(none)");
}

TEST_F(DomNamespaceManagerTest, ADefaultFrameworkNamespaceHasTheEmptyPrefix) {
    // As the plug-in asks: the prefix of the framework namespace at the root.
    ComPtr<IXMLDOMDocument2> document = ParseTestDocument(DefaultFramework);
    ComPtr<IXMLDOMNode> root = RootElement(document.Get());
    ASSERT_TRUE(root);
    ASSERT_EQ(manager->pushNodeContext(root.Get(), VARIANT_TRUE), S_OK);
    int length = -1;
    EXPECT_EQ(manager->getPrefix(W("urn:framework"), 0, nullptr, &length), S_OK);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(Prefix(u"urn:absent"), u"(none)");
}

#ifdef _WIN32
// MSXML lists namespace declarations among an element's attributes; the
// stand-in DOM does not, so there the manager sees only what names show.
TEST_F(DomNamespaceManagerTest, DeclarationsThatNameNoElementAreReadFromTheAttributes) {
    ComPtr<IXMLDOMDocument2> document = ParseTestDocument(Nested);
    ComPtr<IXMLDOMNode> root = RootElement(document.Get());
    ASSERT_TRUE(root);
    ASSERT_EQ(manager->pushNodeContext(root.Get(), VARIANT_TRUE), S_OK);
    EXPECT_EQ(Prefix(u"urn:pv"), u"pv");
    EXPECT_EQ(Uri(u"r"), u"urn:outer");
}

TEST_F(DomNamespaceManagerTest, EveryDeclarationOfAnElementWithoutOtherAttributesIsRead) {
    ComPtr<IXMLDOMDocument2> document =
        ParseTestDocument(R"(<root xmlns:a="urn:a" xmlns:b="urn:b" xmlns:c="urn:c"/>)");
    ComPtr<IXMLDOMNode> root = RootElement(document.Get());
    ASSERT_TRUE(root);
    ASSERT_EQ(manager->pushNodeContext(root.Get(), VARIANT_TRUE), S_OK);
    EXPECT_EQ(Prefix(u"urn:a"), u"a");
    EXPECT_EQ(Prefix(u"urn:b"), u"b");
    EXPECT_EQ(Prefix(u"urn:c"), u"c");
}
#endif

TEST_F(DomNamespaceManagerTest, GetUriAtANodeLeavesTheContextsAlone) {
    ComPtr<IXMLDOMDocument2> document = ParseTestDocument(Nested);
    ComPtr<IXMLDOMNode> leaf = FindElement(document.Get(), u"leaf");
    ASSERT_TRUE(leaf);
    EXPECT_EQ(Uri(u"r", leaf.Get()), u"urn:inner");
    EXPECT_EQ(Uri(u"r"), u"(none)");
    EXPECT_EQ(manager->popContext(), E_FAIL) << "nothing was pushed";
}

TEST_F(DomNamespaceManagerTest, TextsComeOutThroughTheTwoCallBufferProtocol) {
    ASSERT_EQ(manager->declarePrefix(W("abc"), W("urn:abc")), S_OK);
    int count = 0;
    ASSERT_EQ(manager->getPrefix(W("urn:abc"), 0, nullptr, &count), S_OK);
    EXPECT_EQ(count, 3);
    WCHAR buffer[8] = {'x', 'x', 'x', 'x', 0};
    count = 3;
    EXPECT_EQ(manager->getPrefix(W("urn:abc"), 0, buffer, &count), E_XML_BUFFERTOOSMALL)
        << "no room for the terminator";
    EXPECT_EQ(buffer[0], WCHAR('x'));
    count = 4;
    ASSERT_EQ(manager->getPrefix(W("urn:abc"), 0, buffer, &count), S_OK);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(buffer)), u"abc");
    EXPECT_EQ(count, 3);
    EXPECT_EQ(manager->getPrefix(W("urn:abc"), 0, nullptr, nullptr), E_POINTER);
}

// Past the last prefix bound to a namespace getPrefix answers E_FAIL, "not
// declared", as MSXML 6 does; the cases hold whether or not the DOM lists the
// declarations among the attributes.
TEST_F(DomNamespaceManagerTest, GetPrefixAnswersEFailPastTheLastPrefix) {
    struct Case {
        const WCHAR* uri;
        LONG index;
        HRESULT result;
    };
    const Case cases[] = {
        {W("urn:inner"), 0, S_OK},
        {W("urn:inner"), 1, E_FAIL},
        {W("urn:inner"), -1, E_FAIL},
        {W("urn:outer"), 0, E_FAIL}, // hidden by the inner "r"
        {W("urn:default"), 0, S_OK},
        {W("urn:absent"), 0, E_FAIL},
        {W("http://www.w3.org/XML/1998/namespace"), 0, S_OK},
        {W("http://www.w3.org/XML/1998/namespace"), 1, E_FAIL},
        {W(""), 0, E_INVALIDARG},
        {nullptr, 0, E_INVALIDARG},
    };
    ComPtr<IXMLDOMDocument2> document = ParseTestDocument(Nested);
    ComPtr<IXMLDOMNode> leaf = FindElement(document.Get(), u"leaf");
    ASSERT_TRUE(leaf);
    ASSERT_EQ(manager->pushNodeContext(leaf.Get(), VARIANT_TRUE), S_OK);
    for (const Case& c : cases) {
        int length = -1;
        EXPECT_EQ(manager->getPrefix(c.uri, c.index, nullptr, &length), c.result)
            << "case " << &c - cases;
        EXPECT_EQ(length == -1, c.result != S_OK) << "case " << &c - cases;
    }
    int length = -1;
    EXPECT_EQ(manager->getDeclaredPrefix(1000, nullptr, &length), E_FAIL);
    EXPECT_EQ(manager->getDeclaredPrefix(-1, nullptr, &length), E_FAIL);
    EXPECT_EQ(length, -1);
}

TEST_F(DomNamespaceManagerTest, ContextsStackOnAPermanentBottom) {
    EXPECT_EQ(manager->popContext(), E_FAIL);
    ASSERT_EQ(manager->pushContext(), S_OK);
    EXPECT_EQ(manager->declarePrefix(W("a"), W("urn:first")), S_OK);
    EXPECT_EQ(manager->declarePrefix(W("a"), W("urn:second")), S_FALSE);
    EXPECT_EQ(Uri(u"a"), u"urn:second");
    int count = 0;
    EXPECT_EQ(manager->getDeclaredPrefix(0, nullptr, &count), S_OK);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(manager->putAllowOverride(VARIANT_FALSE), S_OK);
    EXPECT_EQ(manager->declarePrefix(W("a"), W("urn:third")), E_FAIL);
    EXPECT_EQ(manager->declarePrefix(W("xml"), W("urn:x")), E_INVALIDARG);
    EXPECT_EQ(manager->declarePrefix(W("1a"), W("urn:x")), E_INVALIDARG);
    EXPECT_EQ(manager->popContext(), S_OK);
    EXPECT_EQ(Uri(u"a"), u"(none)");
    EXPECT_EQ(manager->popContext(), E_FAIL);
}

TEST_F(DomNamespaceManagerTest, AnswersOnlyItsOwnInterfaces) {
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(manager->QueryInterface(IID_IUnknown, unknown.PutVoid()), S_OK);
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(manager->QueryInterface(IID_IXMLDOMNode, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
}
} // namespace
