// Shared pieces of the stand-in DOM tests: sample Print Schema documents, a
// fixture that proves every test released all it took, and small helpers for
// interfaces.
#pragma once

#include "dom_reading.h"
#include "platform_testing.h"

#include <string>

extern const char* const FrameworkUri;
extern const char* const KeywordsUri;
extern const char* const XsiUri;
extern const char* const XsdUri;

// A PrintTicket binding psf, psk, xsi and xsd on its root, with a feature
// psk:JobOutputBin holding two options, a nested psf:Feature and a private
// prefix declared only below the root.
extern const char* const TicketXml;
// The same shape with the framework namespace as the default namespace.
extern const char* const DefaultNamespaceTicketXml;

// The object seen through another interface; null when it refuses.
template <class U> ptbridge::ComPtr<U> Query(IUnknown* object, REFIID iid) {
    ptbridge::ComPtr<U> other;
    if (object)
        object->QueryInterface(iid, other.PutVoid());
    return other;
}

// Every test starts and ends with the same number of live DOM objects and
// BSTRs, and with fault injection disarmed.
class DomTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Loads as MSXML does by default, or keeping white space as written.
    ptbridge::ComPtr<IXMLDOMDocument2> Load(const std::string& xml,
                                            bool preserveWhiteSpace = false);
    ptbridge::ComPtr<IXMLDOMElement> Root(IXMLDOMDocument2* document);
    // The index-th element below `under` with this tag name.
    ptbridge::ComPtr<IXMLDOMElement> Find(IXMLDOMNode* under, const std::string& tagName,
                                          LONG index = 0);
    ptbridge::ComPtr<IXMLDOMNode> Create(IXMLDOMDocument2* document, LONG kind,
                                         const std::string& name, const char* uri);
    ptbridge::ComPtr<IXMLDOMAttribute> CreateAttribute(IXMLDOMDocument2* document,
                                                       const std::string& name, const char* uri,
                                                       const std::string& value);
    std::string Save(IXMLDOMDocument2* document);
    std::string Xml(IXMLDOMNode* node);
    LONG Length(IXMLDOMNodeList* list);

  private:
    LiveObjectCounts atStart_;
};
