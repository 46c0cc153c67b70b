// The host's own namespace manager when DOM calls fail, over the stand-in DOM,
// whose calls tests can make fail one by one.
#include "test_documents.h"
#include "windows/dom_namespace_manager.h"

#include "msxml_standin.h"
#include "platform_testing.h"

#include <gtest/gtest.h>

using namespace ptbridge;

namespace {
TEST(DomNamespaceManagerFaultTest, AFailingDomCallPushesNothingAndLeaksNothing) {
    LONG domObjects = LiveDomObjectCount();
    LONG bstrs = PlatformLiveBstrCount();
    {
        ComPtr<IXMLDOMDocument2> document = ParseTestDocument(
            R"(<r:root xmlns:r="urn:r"><inner xmlns="urn:d"><r:leaf/></inner></r:root>)");
        ComPtr<IXMLDOMElement> root;
        ASSERT_EQ(document->get_documentElement(root.Put()), S_OK);
        ComPtr<IXMLDOMNode> leaf = FindElement(document.Get(), u"leaf");
        ASSERT_TRUE(leaf);
        ComPtr<IMXNamespaceManager> manager;
        ASSERT_EQ(DomNamespaceManager::Create(IID_IMXNamespaceManager, manager.PutVoid()), S_OK);

        int failures = 0;
        for (LONG nth = 1;; ++nth) {
            PlatformInjectFault(nth, PlatformFaultDom, E_UNEXPECTED);
            HRESULT hr = manager->pushNodeContext(leaf.Get(), VARIANT_TRUE);
            bool injected = PlatformFaultCallCount() >= nth;
            PlatformInjectFault(0, 0, S_OK);
            if (!injected) {
                EXPECT_EQ(hr, S_OK);
                break;
            }
            if (hr == S_OK) {
                // An attribute the DOM cannot hand out is passed over by design.
                EXPECT_EQ(manager->popContext(), S_OK);
                continue;
            }
            ++failures;
            EXPECT_EQ(hr, E_UNEXPECTED) << "DOM call " << nth;
            EXPECT_EQ(manager->popContext(), E_FAIL) << "DOM call " << nth << " pushed a context";
        }
        EXPECT_GT(failures, 5);
    }
    EXPECT_EQ(LiveDomObjectCount(), domObjects);
    EXPECT_EQ(PlatformLiveBstrCount(), bstrs);
}
} // namespace
