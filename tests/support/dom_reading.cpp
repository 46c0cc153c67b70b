#include "dom_reading.h"

#include "platform_testing.h"

using namespace ptbridge;

::testing::AssertionResult ParseDocument(const std::string& xml, IXMLDOMDocument2** document,
                                         bool preserveWhiteSpace) {
    XmlLoadError error;
    HRESULT hr = LoadDocumentFromString(xml, document, &error, preserveWhiteSpace);
    if (hr == S_OK)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "parse failed (0x" << std::hex << hr << std::dec << "): " << error.message << " at "
           << error.line << ":" << error.column;
}

LiveObjectCounts::LiveObjectCounts()
    : domObjects_(LiveDomObjectCount()), bstrs_(PlatformLiveBstrCount()),
      taskMemory_(PlatformLiveTaskMemCount()) {}

void LiveObjectCounts::ExpectUnchanged(const std::string& when) const {
    EXPECT_EQ(LiveDomObjectCount(), domObjects_) << "DOM objects left alive " << when;
    EXPECT_EQ(PlatformLiveBstrCount(), bstrs_) << "BSTRs left alive " << when;
    EXPECT_EQ(PlatformLiveTaskMemCount(), taskMemory_) << "task memory left alive " << when;
}
