// The namespace managers' shared core, over a fake node reader: which prefix
// getPrefix and getDeclaredPrefix answer at each index, and what they answer
// past the end, and that large contexts cost linear time.
#include "namespace_manager_core.h"

#include <gtest/gtest.h>

#include <chrono>
#include <new>
#include <string>
#include <utility>
#include <vector>

using namespace ptbridge;

namespace {
using Declarations = std::vector<std::pair<std::u16string, std::u16string>>;

// A manager whose node contexts are given as lists of declarations, one per
// element from the node up to the root: pushNodeContext reads them whatever
// node it is handed, so the node is only a token here and never called.
class ListedScopeManager final : public NamespaceManagerCore {
  public:
    static ListedScopeManager* Create(std::vector<Declarations> scope) {
        auto manager = new ListedScopeManager();
        manager->scope_ = std::move(scope);
        return manager;
    }

    // Reading a node's declarations runs out of memory.
    bool outOfMemory = false;

  private:
    HRESULT ReadNodeContext(IXMLDOMNode*, bool deep, Context* context) override {
        if (outOfMemory)
            throw std::bad_alloc();
        for (const Declarations& element : scope_) {
            for (const auto& declaration : element)
                BindUnlessHidden(context, declaration.first, declaration.second);
            if (!deep)
                break;
        }
        return S_OK;
    }
    bool IsPrefixName(const std::u16string&) const override { return true; }

    std::vector<Declarations> scope_;
};

const WCHAR* Wide(const char16_t* text) {
    return reinterpret_cast<const WCHAR*>(text);
}

class NamespaceManagerCoreTest : public ::testing::Test {
  protected:
    void TearDown() override {
        if (manager)
            manager->Release();
    }

    // The manager, holding `scope` as the node context it reads.
    void Make(std::vector<Declarations> scope) { manager = ListedScopeManager::Create(scope); }

    IXMLDOMNode* AnyNode() { return reinterpret_cast<IXMLDOMNode*>(&nodeToken); }

    // A text result read with the two-call pattern, or the result that ended it.
    template <typename Read> static std::pair<HRESULT, std::u16string> TwoCallText(Read read) {
        int count = -7;
        HRESULT hr = read(nullptr, &count);
        if (hr != S_OK) {
            EXPECT_EQ(count, -7) << "a failed call writes no count";
            return {hr, u""};
        }
        std::u16string text(count + 1, u'#');
        int capacity = count + 1;
        EXPECT_EQ(read(reinterpret_cast<WCHAR*>(&text[0]), &capacity), S_OK);
        EXPECT_EQ(capacity, count);
        text.resize(count);
        return {S_OK, text};
    }

    std::pair<HRESULT, std::u16string> Prefix(const char16_t* uri, LONG index) {
        return TwoCallText([&](WCHAR* buffer, int* count) {
            return manager->getPrefix(Wide(uri), index, buffer, count);
        });
    }

    std::pair<HRESULT, std::u16string> DeclaredPrefix(LONG index) {
        return TwoCallText([&](WCHAR* buffer, int* count) {
            return manager->getDeclaredPrefix(index, buffer, count);
        });
    }

    ListedScopeManager* manager = nullptr;
    int nodeToken = 0;
};

// The bottom context binds "a" and "b"; the node context above it is read from
// an element binding "c" and "b" again, inside one binding "d", "c" again and
// the default namespace.
const std::vector<Declarations> LayeredScope = {
    {{u"c", u"urn:shared"}, {u"b", u"urn:other"}},
    {{u"d", u"urn:shared"}, {u"c", u"urn:hidden-inside"}, {u"", u"urn:default"}}};

TEST_F(NamespaceManagerCoreTest, GetPrefixAnswersNearestFirstThenEFailPastTheLast) {
    struct Case {
        const char* what;
        const char16_t* uri;
        LONG index;
        HRESULT result;
        std::u16string prefix;
    };
    const Case cases[] = {
        {"nearest element first", u"urn:shared", 0, S_OK, u"c"},
        {"then its ancestor", u"urn:shared", 1, S_OK, u"d"},
        {"then the farther context", u"urn:shared", 2, S_OK, u"a"},
        {"past the last prefix", u"urn:shared", 3, E_FAIL, u""},
        {"a negative index", u"urn:shared", -1, E_FAIL, u""},
        {"hidden by a nearer context", u"urn:hidden-below", 0, E_FAIL, u""},
        {"hidden by a nearer element", u"urn:hidden-inside", 0, E_FAIL, u""},
        {"never bound", u"urn:never", 0, E_FAIL, u""},
        {"the default namespace", u"urn:default", 0, S_OK, u""},
        {"xml is bound beneath everything", u"http://www.w3.org/XML/1998/namespace", 0, S_OK,
         u"xml"},
        {"and only once", u"http://www.w3.org/XML/1998/namespace", 1, E_FAIL, u""},
        {"an empty URI", u"", 0, E_INVALIDARG, u""},
        {"a null URI", nullptr, 0, E_INVALIDARG, u""},
    };
    Make(LayeredScope);
    ASSERT_EQ(manager->declarePrefix(Wide(u"a"), Wide(u"urn:shared")), S_OK);
    ASSERT_EQ(manager->declarePrefix(Wide(u"b"), Wide(u"urn:hidden-below")), S_OK);
    ASSERT_EQ(manager->pushNodeContext(AnyNode(), VARIANT_TRUE), S_OK);
    for (const Case& c : cases) {
        auto answer = Prefix(c.uri, c.index);
        EXPECT_EQ(answer.first, c.result) << c.what;
        EXPECT_EQ(answer.second, c.prefix) << c.what;
    }
    int count = 0;
    EXPECT_EQ(manager->getPrefix(Wide(u"urn:never"), 0, nullptr, nullptr), E_POINTER);
    EXPECT_EQ(manager->getPrefix(Wide(u""), 0, nullptr, &count), E_INVALIDARG);

    ASSERT_EQ(manager->popContext(), S_OK);
    EXPECT_EQ(Prefix(u"urn:hidden-below", 0), std::make_pair(S_OK, std::u16string(u"b")));
    EXPECT_EQ(Prefix(u"urn:shared", 1), std::make_pair(E_FAIL, std::u16string()));
}

TEST_F(NamespaceManagerCoreTest, GetDeclaredPrefixAnswersInReadingOrderThenEFail) {
    struct Case {
        LONG index;
        HRESULT result;
        std::u16string prefix;
    };
    const Case deep[] = {{0, S_OK, u"c"}, {1, S_OK, u"b"},  {2, S_OK, u"d"},
                         {3, S_OK, u""},  {4, E_FAIL, u""}, {-1, E_FAIL, u""}};
    const Case shallow[] = {{0, S_OK, u"c"}, {1, S_OK, u"b"}, {2, E_FAIL, u""}};
    Make(LayeredScope);
    for (auto contexts :
         {std::make_pair(VARIANT_TRUE, std::vector<Case>(deep, std::end(deep))),
          std::make_pair(VARIANT_FALSE, std::vector<Case>(shallow, std::end(shallow)))}) {
        ASSERT_EQ(manager->pushNodeContext(AnyNode(), contexts.first), S_OK);
        for (const Case& c : contexts.second) {
            auto answer = DeclaredPrefix(c.index);
            EXPECT_EQ(answer.first, c.result) << "deep " << contexts.first << ", index " << c.index;
            EXPECT_EQ(answer.second, c.prefix)
                << "deep " << contexts.first << ", index " << c.index;
        }
        ASSERT_EQ(manager->popContext(), S_OK);
    }
    EXPECT_EQ(DeclaredPrefix(0).first, E_FAIL) << "the bottom context declares nothing";
}

// A root declaring 50,000 prefixes, as a hostile ticket may: the plug-in pushes
// its context for every name it writes. Comparing each declaration with every
// earlier one took minutes per push; linear, the whole test takes about a
// second (debug build), and the bound is loose for slow machines.
TEST_F(NamespaceManagerCoreTest, FiftyThousandDeclarationsCostLinearTime) {
    constexpr int Count = 50000;
    Declarations root;
    for (int i = 0; i < Count; ++i) {
        std::string n = std::to_string(i);
        root.emplace_back(u"x" + std::u16string(n.begin(), n.end()),
                          u"urn:extra:" + std::u16string(n.begin(), n.end()));
    }
    const std::u16string lastPrefix = root.back().first;
    const std::u16string lastUri = root.back().second;
    Make({root});

    auto start = std::chrono::steady_clock::now();
    for (int name = 0; name < 3; ++name) {
        ASSERT_EQ(manager->pushNodeContext(AnyNode(), VARIANT_TRUE), S_OK);
        EXPECT_EQ(Prefix(lastUri.c_str(), 0), std::make_pair(S_OK, lastPrefix));
        int count = 0;
        EXPECT_EQ(manager->getURI(Wide(lastPrefix.c_str()), nullptr, nullptr, &count), S_OK);
        EXPECT_EQ(manager->getURI(Wide(lastPrefix.c_str()), AnyNode(), nullptr, &count), S_OK);
        ASSERT_EQ(manager->popContext(), S_OK);
    }
    ASSERT_EQ(manager->pushContext(), S_OK);
    for (const auto& declaration : root)
        ASSERT_EQ(manager->declarePrefix(Wide(declaration.first.c_str()),
                                         Wide(declaration.second.c_str())),
                  S_OK);
    EXPECT_EQ(DeclaredPrefix(Count - 1), std::make_pair(S_OK, lastPrefix));
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took.count(), 10.0);
}
} // namespace

TEST_F(NamespaceManagerCoreTest, RunningOutOfMemoryIsAResultAndChangesNothing) {
    Make(LayeredScope);
    ASSERT_EQ(manager->pushNodeContext(AnyNode(), VARIANT_TRUE), S_OK);
    manager->outOfMemory = true;
    EXPECT_EQ(manager->pushNodeContext(AnyNode(), VARIANT_TRUE), E_OUTOFMEMORY);
    int count = 0;
    EXPECT_EQ(manager->getURI(Wide(u"c"), AnyNode(), nullptr, &count), E_OUTOFMEMORY);
    manager->outOfMemory = false;
    EXPECT_EQ(Prefix(u"urn:shared", 0), std::make_pair(S_OK, std::u16string(u"c")));
    EXPECT_EQ(manager->popContext(), S_OK);
    EXPECT_EQ(manager->popContext(), E_FAIL);
}
