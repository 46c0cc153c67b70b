// The namespace manager: contexts pushed from nodes, declarations, and the
// two-call pattern of its text results.
#include "dom_test_support.h"

#include <vector>

using namespace ptbridge;

namespace {
const char16_t* const FrameworkWide =
    u"http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework";
const char16_t* const PrivateWide = u"http://ptbridge.example/printing/2005/08/printticket";

class NamespaceManagerTest : public DomTest {
  protected:
    void SetUp() override {
        DomTest::SetUp();
        ASSERT_EQ(NewNamespaceManager(IID_IMXNamespaceManager, manager.PutVoid()), S_OK);
    }
    void TearDown() override {
        manager.Reset();
        DomTest::TearDown();
    }

    std::u16string PrefixOf(const char16_t* uri, LONG index = 0) {
        return TwoCallText([&](WCHAR* buffer, int* count) {
            return manager->getPrefix(AsWchar(uri), index, buffer, count);
        });
    }

    std::u16string UriOf(const char16_t* prefix, IXMLDOMNode* context = nullptr) {
        return TwoCallText([&](WCHAR* buffer, int* count) {
            return manager->getURI(AsWchar(prefix), context, buffer, count);
        });
    }

    std::u16string DeclaredPrefixAt(LONG index) {
        return TwoCallText([&](WCHAR* buffer, int* count) {
            return manager->getDeclaredPrefix(index, buffer, count);
        });
    }

    // A text result read with the two-call pattern: its length without a
    // buffer, then the text into a buffer one longer, which must give back
    // the length and a terminator; "(none)" when the first call gives no S_OK.
    template <typename Read> static std::u16string TwoCallText(Read read) {
        int count = 0;
        if (read(nullptr, &count) != S_OK)
            return u"(none)";
        std::vector<WCHAR> buffer(count + 1, u'#');
        int capacity = count + 1;
        EXPECT_EQ(read(buffer.data(), &capacity), S_OK);
        EXPECT_EQ(capacity, count);
        EXPECT_EQ(buffer[count], 0);
        return Utf16(buffer.data());
    }

    ComPtr<IMXNamespaceManager> manager;
};

TEST_F(NamespaceManagerTest, DeepContextOfTheRootBindsItsPrefixes) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    ASSERT_EQ(manager->pushNodeContext(root.Get(), VARIANT_TRUE), S_OK);
    EXPECT_EQ(PrefixOf(FrameworkWide), u"psf");
    EXPECT_EQ(UriOf(u"psk"), Wide(KeywordsUri));
    EXPECT_EQ(manager->popContext(), S_OK);
    EXPECT_EQ(PrefixOf(FrameworkWide), u"(none)");
}

TEST_F(NamespaceManagerTest, DeclarationBelowTheRootIsNotVisibleFromTheRoot) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    int count = 7;
    ASSERT_EQ(manager->pushNodeContext(root.Get(), 1), S_OK);
    EXPECT_EQ(manager->getPrefix(AsWchar(PrivateWide), 0, nullptr, &count), E_FAIL);
    EXPECT_EQ(count, 7);
    EXPECT_EQ(UriOf(u"pv"), u"(none)");
    ASSERT_EQ(manager->popContext(), S_OK);

    auto punch = Find(root.Get(), "psf:Option", 2);
    ASSERT_EQ(manager->pushNodeContext(punch.Get(), 1), S_OK);
    EXPECT_EQ(PrefixOf(PrivateWide), u"pv");
    EXPECT_EQ(PrefixOf(FrameworkWide), u"psf");
    ASSERT_EQ(manager->popContext(), S_OK);
}

TEST_F(NamespaceManagerTest, ShallowContextHoldsOnlyTheNodesOwnDeclarations) {
    auto document = Load(TicketXml);
    auto punchFeature = Find(document.Get(), "psf:Feature", 2);
    auto punchOption = Find(document.Get(), "psf:Option", 2);
    ASSERT_EQ(manager->pushNodeContext(punchOption.Get(), VARIANT_FALSE), S_OK);
    EXPECT_EQ(PrefixOf(PrivateWide), u"(none)");
    ASSERT_EQ(manager->pushNodeContext(punchFeature.Get(), VARIANT_FALSE), S_OK);
    EXPECT_EQ(PrefixOf(PrivateWide), u"pv");
    EXPECT_EQ(PrefixOf(FrameworkWide), u"(none)");
}

// getPrefix and getDeclaredPrefix read the nearest element's declarations
// first; a nearer declaration hides a farther one of the same prefix. Past the
// last prefix they answer E_FAIL (for getPrefix: not declared).
TEST_F(NamespaceManagerTest, PrefixesComeNearestFirstThenEFail) {
    struct Case {
        const char16_t* uri; // null: getDeclaredPrefix
        LONG index;
        HRESULT result;
        std::u16string prefix;
    };
    const Case cases[] = {
        {u"urn:far", 0, S_OK, u"r"},   {u"urn:far", 1, S_OK, u"q"},
        {u"urn:far", 2, E_FAIL, u""},  {u"urn:near", 0, S_OK, u"p"},
        {u"urn:near", 1, E_FAIL, u""}, {u"urn:elsewhere", 0, E_FAIL, u""},
        {u"urn:far", -1, E_FAIL, u""}, {u"", 0, E_INVALIDARG, u""},
        {nullptr, 0, S_OK, u"p"},      {nullptr, 1, S_OK, u"r"},
        {nullptr, 2, S_OK, u"q"},      {nullptr, 3, E_FAIL, u""},
        {nullptr, -1, E_FAIL, u""},
    };
    auto document = Load("<p:a xmlns:p=\"urn:far\" xmlns:q=\"urn:far\">"
                         "<p:b xmlns:p=\"urn:near\" xmlns:r=\"urn:far\"/></p:a>");
    auto inner = Find(document.Get(), "p:b");
    ASSERT_EQ(manager->pushNodeContext(inner.Get(), VARIANT_TRUE), S_OK);
    EXPECT_EQ(UriOf(u"p"), u"urn:near");
    for (const Case& c : cases) {
        int count = 0;
        HRESULT hr = c.uri ? manager->getPrefix(AsWchar(c.uri), c.index, nullptr, &count)
                           : manager->getDeclaredPrefix(c.index, nullptr, &count);
        std::u16string prefix = hr != S_OK ? u""
                                : c.uri    ? PrefixOf(c.uri, c.index)
                                           : DeclaredPrefixAt(c.index);
        std::string what =
            c.uri ? "getPrefix(" + Utf8(AsWchar(c.uri)) + ", " + std::to_string(c.index) + ")"
                  : "getDeclaredPrefix(" + std::to_string(c.index) + ")";
        EXPECT_EQ(hr, c.result) << what;
        EXPECT_EQ(prefix, c.prefix) << what;
    }
    int count = 0;
    EXPECT_EQ(manager->getPrefix(nullptr, 0, nullptr, &count), E_INVALIDARG);
}

TEST_F(NamespaceManagerTest, DefaultNamespaceHasTheEmptyPrefix) {
    auto document = Load(DefaultNamespaceTicketXml);
    auto root = Root(document.Get());
    ASSERT_EQ(manager->pushNodeContext(root.Get(), VARIANT_TRUE), S_OK);
    int count = 5;
    ASSERT_EQ(manager->getPrefix(AsWchar(FrameworkWide), 0, nullptr, &count), S_OK);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(PrefixOf(FrameworkWide), u"");
    EXPECT_EQ(UriOf(u""), FrameworkWide);
    EXPECT_EQ(UriOf(nullptr), FrameworkWide);
}

TEST_F(NamespaceManagerTest, TooSmallBufferGetsNothing) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    ASSERT_EQ(manager->pushNodeContext(root.Get(), VARIANT_TRUE), S_OK);
    WCHAR buffer[4] = {u'#', u'#', u'#', u'#'};
    int count = 3;
    EXPECT_EQ(manager->getPrefix(AsWchar(FrameworkWide), 0, buffer, &count), E_XML_BUFFERTOOSMALL);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(buffer[0], u'#');
    EXPECT_EQ(manager->getURI(W("psf"), nullptr, buffer, &count), E_XML_BUFFERTOOSMALL);
    EXPECT_EQ(buffer[0], u'#');
    EXPECT_EQ(manager->getPrefix(AsWchar(FrameworkWide), 0, buffer, nullptr), E_POINTER);
}

TEST_F(NamespaceManagerTest, XmlPrefixIsAlwaysBound) {
    EXPECT_EQ(UriOf(u"xml"), u"http://www.w3.org/XML/1998/namespace");
    EXPECT_EQ(PrefixOf(u"http://www.w3.org/XML/1998/namespace"), u"xml");
    EXPECT_EQ(manager->declarePrefix(W("xml"), W("urn:x")), E_INVALIDARG);
    EXPECT_EQ(manager->declarePrefix(W("xmlns"), W("urn:x")), E_INVALIDARG);
}

TEST_F(NamespaceManagerTest, PopRefusesToRemoveTheBottomContext) {
    EXPECT_EQ(manager->popContext(), E_FAIL);
    ASSERT_EQ(manager->pushContext(), S_OK);
    EXPECT_EQ(manager->popContext(), S_OK);
    EXPECT_EQ(manager->popContext(), E_FAIL);
}

TEST_F(NamespaceManagerTest, DeclaredPrefixesOverridesAndReset) {
    ASSERT_EQ(manager->declarePrefix(W("a"), W("urn:one")), S_OK);
    ASSERT_EQ(manager->pushContext(), S_OK);
    ASSERT_EQ(manager->declarePrefix(W("b"), W("urn:two")), S_OK);
    EXPECT_EQ(manager->declarePrefix(W("b"), W("urn:three")), S_FALSE);
    EXPECT_EQ(UriOf(u"b"), u"urn:three");
    EXPECT_EQ(UriOf(u"a"), u"urn:one");

    WCHAR buffer[8];
    int count = 8;
    ASSERT_EQ(manager->getDeclaredPrefix(0, buffer, &count), S_OK);
    EXPECT_EQ(Utf16(buffer), u"b");
    EXPECT_EQ(manager->getDeclaredPrefix(1, buffer, &count), E_FAIL);

    VARIANT_BOOL allowed = VARIANT_FALSE;
    ASSERT_EQ(manager->getAllowOverride(&allowed), S_OK);
    EXPECT_EQ(allowed, VARIANT_TRUE);
    ASSERT_EQ(manager->putAllowOverride(VARIANT_FALSE), S_OK);
    EXPECT_EQ(manager->declarePrefix(W("b"), W("urn:four")), E_FAIL);
    EXPECT_EQ(UriOf(u"b"), u"urn:three");
    EXPECT_EQ(manager->declarePrefix(W("c"), W("")), E_INVALIDARG);
    EXPECT_EQ(manager->declarePrefix(W("bad name"), W("urn:x")), E_INVALIDARG);

    ASSERT_EQ(manager->reset(), S_OK);
    EXPECT_EQ(UriOf(u"a"), u"(none)");
    EXPECT_EQ(manager->popContext(), E_FAIL);
}

TEST_F(NamespaceManagerTest, DefaultNamespaceCanBeUndeclared) {
    ASSERT_EQ(manager->declarePrefix(W(""), W("urn:d")), S_OK);
    EXPECT_EQ(UriOf(u""), u"urn:d");
    ASSERT_EQ(manager->pushContext(), S_OK);
    ASSERT_EQ(manager->declarePrefix(nullptr, W("")), S_OK);
    EXPECT_EQ(UriOf(u""), u"(none)");
    EXPECT_EQ(PrefixOf(u"urn:d"), u"(none)");
}

TEST_F(NamespaceManagerTest, ContextNodeAnswersWithoutAnyPush) {
    auto document = Load(TicketXml);
    auto punch = Find(document.Get(), "psf:Option", 2);
    auto root = Root(document.Get());
    EXPECT_EQ(UriOf(u"pv", punch.Get()), PrivateWide);
    EXPECT_EQ(UriOf(u"pv", root.Get()), u"(none)");
    EXPECT_EQ(UriOf(u"pv"), u"(none)");
}

TEST_F(NamespaceManagerTest, RefusesForeignAndMissingNodes) {
    EXPECT_EQ(manager->pushNodeContext(nullptr, VARIANT_TRUE), E_INVALIDARG);
    EXPECT_EQ(manager->popContext(), E_FAIL);
}

TEST_F(NamespaceManagerTest, AnswersOnlyItsOwnInterfaces) {
    EXPECT_TRUE(Query<IUnknown>(manager.Get(), IID_IUnknown));
    EXPECT_FALSE(Query<IXMLDOMNode>(manager.Get(), IID_IXMLDOMNode));
    ComPtr<IXMLDOMNode> refused;
    EXPECT_EQ(NewNamespaceManager(IID_IXMLDOMNode, refused.PutVoid()), E_NOINTERFACE);
    EXPECT_FALSE(refused);
}
} // namespace
