// The stand-in DOM's count of live objects, which tests use to prove that
// nothing leaked: it follows references, across threads too, and a node list
// makes objects only for the nodes it hands out.
#include "dom_test_support.h"
#include "msxml_standin.h"

#include <thread>

using namespace ptbridge;

namespace {
class LiveObjectTest : public DomTest {};

TEST_F(LiveObjectTest, LiveObjectCountFollowsReferences) {
    LONG before = LiveDomObjectCount();
    auto document = Load("<a><b/></a>");
    EXPECT_EQ(LiveDomObjectCount(), before + 1);
    auto root = Root(document.Get());
    auto child = Find(root.Get(), "b");
    EXPECT_EQ(LiveDomObjectCount(), before + 3);
    child.Reset();
    EXPECT_EQ(LiveDomObjectCount(), before + 2);

    // Objects made on one thread and released on another, also after the
    // thread that made them has ended, still count right.
    ComPtr<IXMLDOMElement> madeElsewhere;
    std::thread([&] { madeElsewhere = Find(root.Get(), "b"); }).join();
    EXPECT_EQ(LiveDomObjectCount(), before + 3);
    std::thread([&] {
        root.Reset();
        document.Reset();
    }).join();
    EXPECT_EQ(LiveDomObjectCount(), before + 1);
    madeElsewhere.Reset();
    EXPECT_EQ(LiveDomObjectCount(), before);
}

TEST_F(LiveObjectTest, ListMakesAnObjectOnlyForTheNodeItHandsOut) {
    auto document = Load(TicketXml);
    auto root = Root(document.Get());
    LONG before = LiveDomObjectCount();
    UniqueBstr any = MakeBstr(u"*");
    ComPtr<IXMLDOMNodeList> everything;
    ASSERT_EQ(root->getElementsByTagName(any.Get(), everything.Put()), S_OK);
    ASSERT_EQ(Length(everything.Get()), 8);
    EXPECT_EQ(LiveDomObjectCount(), before + 1);
    ComPtr<IXMLDOMNode> item;
    ASSERT_EQ(everything->nextNode(item.Put()), S_OK);
    EXPECT_EQ(LiveDomObjectCount(), before + 2);
}
} // namespace
