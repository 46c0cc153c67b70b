// The DOM behaviour cases over the stand-in DOM: documents and namespace
// managers through its host functions, and a leak check around every case.
#include "dom_reading.h"
#include "dom_test_support.h"
#include "platform_testing.h"

#include <optional>

using namespace ptbridge;

namespace {
// The counts when the running case started; cases run one at a time.
std::optional<LiveObjectCounts> countsAtStart;
} // namespace

void DomTest::SetUp() {
    PlatformInjectFault(0, 0, S_OK);
    countsAtStart.emplace();
}

void DomTest::TearDown() {
    PlatformInjectFault(0, 0, S_OK);
    countsAtStart->ExpectUnchanged("at the end of the test");
    countsAtStart.reset();
}

ComPtr<IXMLDOMDocument2> DomTest::Load(const std::string& xml, bool preserveWhiteSpace) {
    ComPtr<IXMLDOMDocument2> document;
    EXPECT_TRUE(ParseDocument(xml, document.Put(), preserveWhiteSpace));
    return document;
}

ComPtr<IXMLDOMDocument2> DomTest::NewDocument() {
    ComPtr<IXMLDOMDocument2> document;
    EXPECT_EQ(CreateDomDocument(document.Put()), S_OK);
    return document;
}

std::string DomTest::Save(IXMLDOMDocument2* document) {
    std::string xml;
    EXPECT_EQ(SaveDocumentToString(document, &xml), S_OK);
    return xml;
}

HRESULT DomTest::NewNamespaceManager(REFIID iid, void** manager) {
    return CreateNamespaceManager(iid, manager);
}
