// Building QName text from (namespace, local name) pairs with the prefixes
// the root element declares.
#include "common/namespaces.h"
#include "dom_test_support.h"
#include "platform_testing.h"

using namespace ptbridge;

namespace {

class QNameTest : public DomHelperTest {};

TEST_F(QNameTest, UsesThePrefixDeclaredOnTheRoot) {
    Load(Documents.Ticket(""));
    UniqueBstr qName;
    ASSERT_EQ(helper_->MakeQName(FrameworkNamespaceUri, W("Feature"), qName.Put()), S_OK);
    EXPECT_EQ(Utf8(qName.Get()), "psf:Feature");
    // The BSTR counts exactly the text: no terminator inside its length.
    EXPECT_EQ(qName.Length(), 11u);
}

TEST_F(QNameTest, RootPrefixWinsOverAnotherPrefixDeclaredBelow) {
    Load(Documents.Ticket("<psf:Feature xmlns:fw=\"" + Utf8(FrameworkNamespaceUri) + "\"/>"));
    UniqueBstr qName;
    ASSERT_EQ(helper_->MakeQName(FrameworkNamespaceUri, W("Option"), qName.Put()), S_OK);
    EXPECT_EQ(Utf8(qName.Get()), "psf:Option");
}

// A namespace the root binds no prefix to fails with the namespace manager's
// own answer, the empty namespace included: the manager is asked about it too.
TEST_F(QNameTest, NamespaceTheRootDoesNotBindFailsWithTheManagersAnswer) {
    struct Case {
        const char* what;
        const WCHAR* namespaceUri;
        HRESULT result;
    };
    const Case cases[] = {
        {"declared only on a descendant", W("urn:own"), E_FAIL},
        {"declared nowhere", W("urn:nowhere"), E_FAIL},
        {"the empty namespace", W(""), E_INVALIDARG},
    };
    Load(Documents.Ticket("<psf:Feature xmlns:own=\"urn:own\"><own:Thing/></psf:Feature>"));
    for (const Case& c : cases) {
        int pushedBefore = contexts_.pushed;
        UniqueBstr stale(SysAllocString(W("stale")));
        BSTR qName = stale.Get();
        EXPECT_EQ(helper_->MakeQName(c.namespaceUri, W("Thing"), &qName), c.result) << c.what;
        EXPECT_EQ(qName, nullptr) << c.what;
        EXPECT_EQ(contexts_.pushed - pushedBefore, 1) << c.what;
    }
}

TEST_F(QNameTest, DefaultNamespaceAndNullNamespaceGiveTheBareName) {
    Load("<PrintTicket xmlns=\"" + Utf8(FrameworkNamespaceUri) + "\"/>");
    UniqueBstr qName;
    ASSERT_EQ(helper_->MakeQName(FrameworkNamespaceUri, W("Feature"), qName.Put()), S_OK);
    EXPECT_EQ(Utf8(qName.Get()), "Feature");
    EXPECT_EQ(qName.Length(), 7u);

    ASSERT_EQ(helper_->MakeQName(nullptr, W("Feature"), qName.Put()), S_OK);
    EXPECT_EQ(Utf8(qName.Get()), "Feature");
}

TEST_F(QNameTest, NullNamespaceNeedsNoLookup) {
    Load(Documents.Ticket(""));
    UniqueBstr qName;
    ASSERT_EQ(helper_->MakeQName(nullptr, W("psk:Already"), qName.Put()), S_OK);
    EXPECT_EQ(Utf8(qName.Get()), "psk:Already");
    EXPECT_EQ(contexts_.pushed, 0);
}

TEST_F(QNameTest, RequiredArgumentsAreTestedFirst) {
    Load(Documents.Ticket(""));
    UniqueBstr qName;
    EXPECT_EQ(helper_->MakeQName(FrameworkNamespaceUri, nullptr, qName.Put()), E_INVALIDARG);
    EXPECT_EQ(helper_->MakeQName(FrameworkNamespaceUri, W("Feature"), nullptr), E_INVALIDARG);
    EXPECT_EQ(contexts_.pushed, 0);
}

TEST_F(QNameTest, PrefixAndLocalNameMustStayBelowTenThousandCharacters) {
    std::string prefix9999(9999, 'p');
    std::string prefix10000(10000, 'q');
    Load(PrintSchemaRoot(PrintSchemaDeclarations() + Declaration(prefix9999, "urn:long:a") +
                         Declaration(prefix10000, "urn:long:b") + " xmlns=\"urn:default\"")
             .Ticket(""));
    std::u16string local9999(9999, u'l');
    std::u16string local10000(10000, u'm');

    UniqueBstr qName;
    ASSERT_EQ(helper_->MakeQName(W("urn:long:a"), W("x"), qName.Put()), S_OK);
    EXPECT_EQ(Utf8(qName.Get()), prefix9999 + ":x");
    EXPECT_EQ(qName.Length(), 10001u);

    ASSERT_EQ(helper_->MakeQName(W("urn:long:a"), local9999.c_str(), qName.Put()), S_OK);
    EXPECT_EQ(qName.Length(), 19999u);
    EXPECT_EQ(Utf8(qName.Get()), prefix9999 + ":" + Utf8(local9999.c_str()));

    BSTR refused = nullptr;
    EXPECT_EQ(helper_->MakeQName(W("urn:long:b"), W("x"), &refused), E_INVALIDARG);
    EXPECT_EQ(refused, nullptr);
    EXPECT_EQ(helper_->MakeQName(FrameworkNamespaceUri, local10000.c_str(), &refused),
              E_INVALIDARG);
    EXPECT_EQ(refused, nullptr);

    // Without a prefix the local name is copied as it is, whatever its length.
    ASSERT_EQ(helper_->MakeQName(nullptr, local10000.c_str(), qName.Put()), S_OK);
    EXPECT_EQ(qName.Length(), 10000u);
    ASSERT_EQ(helper_->MakeQName(W("urn:default"), local10000.c_str(), qName.Put()), S_OK);
    EXPECT_EQ(qName.Length(), 10000u);
}

TEST_F(QNameTest, EveryFailedStepFreesWhatItTookAndPopsTheContext) {
    for (unsigned kinds : {unsigned(PlatformFaultDom), unsigned(PlatformFaultAllocation)}) {
        ForEachInjectedFault(Documents.Ticket(""), [&](LONG nth) {
            UniqueBstr qName;
            Arm(nth, kinds);
            HRESULT hr = helper_->MakeQName(KeywordsNamespaceUri, W("JobOutputBin"), qName.Put());
            bool injected = Disarm(nth);
            if (injected) {
                EXPECT_EQ(hr, kinds == PlatformFaultDom ? InjectedFailure : E_OUTOFMEMORY);
                EXPECT_EQ(qName.Get(), nullptr);
            } else {
                EXPECT_EQ(hr, S_OK);
                EXPECT_EQ(Utf8(qName.Get()), "psk:JobOutputBin");
            }
            return injected;
        });
    }
}

} // namespace
