// Shared pieces of the DOM behaviour tests: sample Print Schema documents, the
// fixture every case runs in, and small helpers for interfaces.
//
// The cases run on the stand-in DOM natively and on MSXML 6 in the Windows
// test program. What differs between the two (making, loading and saving
// documents, making namespace managers, what is checked around each case) is
// implemented once per platform, in dom_test_support_standin.cpp and
// dom_test_support_msxml.cpp; the cases use only what both declare.
#pragma once

#include "dom_text.h"

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

// On the stand-in, every case starts and ends with the same number of live DOM
// objects and BSTRs, and with fault injection disarmed. On MSXML, a case that
// the platform is known to answer differently is skipped with the reason.
class DomTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Per platform: a document parsed from `xml` (a test failure and null when
    // it does not parse) as MSXML loads by default or, with
    // `preserveWhiteSpace`, keeping white space as written; a new empty
    // document, the saved UTF-8 text of a document, and a fresh namespace
    // manager asked for `iid`.
    ptbridge::ComPtr<IXMLDOMDocument2> Load(const std::string& xml,
                                            bool preserveWhiteSpace = false);
    ptbridge::ComPtr<IXMLDOMDocument2> NewDocument();
    std::string Save(IXMLDOMDocument2* document);
    HRESULT NewNamespaceManager(REFIID iid, void** manager);

    ptbridge::ComPtr<IXMLDOMElement> Root(IXMLDOMDocument2* document);
    // The index-th element below `under`, in document order, whose tag name is
    // `tagName` as written. It walks the child lists rather than asking
    // getElementsByTagName, which the search cases test on their own.
    ptbridge::ComPtr<IXMLDOMElement> Find(IXMLDOMNode* under, const std::string& tagName,
                                          LONG index = 0);
    ptbridge::ComPtr<IXMLDOMNode> Create(IXMLDOMDocument2* document, LONG kind,
                                         const std::string& name, const char* uri);
    ptbridge::ComPtr<IXMLDOMAttribute> CreateAttribute(IXMLDOMDocument2* document,
                                                       const std::string& name, const char* uri,
                                                       const std::string& value);
    std::string Xml(IXMLDOMNode* node);
    LONG Length(IXMLDOMNodeList* list);
};
