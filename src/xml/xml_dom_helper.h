// Namespace-aware helper over one host document: turns (namespace URI, local
// name) pairs into QName text with the prefixes the root element declares, and
// creates, lists, finds and removes elements and attributes by those names.
//
// Every operation returns an HRESULT. A step goes on only when the step before
// it returned exactly S_OK; any other result, S_FALSE included, ends the
// operation and is returned unchanged, so S_FALSE reaches the caller as "not
// found". Out-values mean something only on S_OK: BSTRs belong to the caller
// (SysFreeString), interface pointers carry one reference the caller releases.
// A required argument that is null gives E_INVALIDARG before anything else.
// On a helper whose Initialize failed every operation gives E_FAIL, with its
// out-values null and nothing touched.
#pragma once

#include "common/com_ptr.h"
#include "common/oem_interfaces.h"
#include "common/platform.h"

namespace ptbridge {

// What a search of a list by name does at an element that lacks the name.
enum class AtNameless {
    Stop,     // the search ends there with S_FALSE, as the Print Schema rules search
    PassOver, // the element is passed over and the search goes on
};

class XmlDomHelper {
  public:
    // Runs Initialize at once; a failure leaves all three references null.
    XmlDomHelper(IXMLDOMDocument2* document, IPrintCoreHelper* coreHelper);
    // Releases the document, the root element and the namespace manager.
    virtual ~XmlDomHelper();

    XmlDomHelper(const XmlDomHelper&) = delete;
    XmlDomHelper& operator=(const XmlDomHelper&) = delete;

    // Takes a reference on the document and its root element and creates the
    // namespace manager through the core helper. References held from an
    // earlier Initialize are released first.
    virtual HRESULT Initialize(IXMLDOMDocument2* document, IPrintCoreHelper* coreHelper);
    // What the constructor's Initialize returned.
    HRESULT InitialResult() const { return initialResult_; }

    // "prefix:localName" with the prefix the root element declares for the
    // namespace; the bare local name for a null namespace or an empty prefix.
    // When the root element binds no prefix to the namespace, the namespace
    // manager's answer (MSXML 6: E_FAIL).
    virtual HRESULT MakeQName(const WCHAR* namespaceUri, const WCHAR* localName, BSTR* qName);

    // Number of descendants of `parent` (any depth) named by the QName.
    virtual HRESULT CountElements(IXMLDOMElement* parent, const WCHAR* namespaceUri,
                                  const WCHAR* localName, LONG* count);

    // Appends a new element as the last child of `parent`. `element` is optional.
    virtual HRESULT CreateChildElement(IXMLDOMElement* parent, const WCHAR* namespaceUri,
                                       const WCHAR* localName, IXMLDOMElement** element);

    // Adds to `element` the attribute `attributeName` (used as written) in
    // `attributeNamespaceUri`, whose value is the QName of the value pair.
    // `attribute` is optional.
    virtual HRESULT CreateQNameAttribute(IXMLDOMElement* element,
                                         const WCHAR* attributeNamespaceUri,
                                         const WCHAR* attributeName, const WCHAR* valueNamespaceUri,
                                         const WCHAR* valueLocalName, IXMLDOMAttribute** attribute);

    virtual HRESULT GetRootElement(IXMLDOMElement** root);

    // The index-th (from 0) descendant named by the QName, in document order;
    // S_FALSE past the end.
    virtual HRESULT GetElementAt(IXMLDOMElement* parent, const WCHAR* namespaceUri,
                                 const WCHAR* localName, LONG index, IXMLDOMElement** element);

    // The attribute named exactly `attributeName`; S_FALSE when absent.
    virtual HRESULT GetAttributeNode(IXMLDOMElement* element, const WCHAR* attributeName,
                                     IXMLDOMAttribute** attribute);

    // Every descendant (any depth, document order) named by the QName. A null
    // parent means the root element.
    virtual HRESULT GetElementsByQName(IXMLDOMElement* parent, const WCHAR* namespaceUri,
                                       const WCHAR* localName, IXMLDOMNodeList** list);

    // From the list's current position, the first element whose attribute
    // text equals `value` exactly. Elements without the attribute are passed
    // over; S_FALSE when nothing matches.
    virtual HRESULT FindByAttributeValue(IXMLDOMNodeList* list, const WCHAR* attributeName,
                                         const WCHAR* value, IXMLDOMElement** element);

    // Detaches a direct child. A null parent means the root element.
    virtual HRESULT RemoveChild(IXMLDOMElement* parent, IXMLDOMElement* child);

    // The namespace URI bound to the QName's prefix in scope at `context`.
    virtual HRESULT ResolveQNameNamespace(IXMLDOMElement* context, const WCHAR* qName,
                                          BSTR* namespaceUri);

    // Everything after the first colon, or the whole text without one.
    virtual HRESULT LocalPartOf(const WCHAR* qName, BSTR* localName);

    // Everything before the first colon, or the empty string without one.
    virtual HRESULT PrefixPartOf(const WCHAR* qName, BSTR* prefix);

  protected:
    // FindByAttributeValue, with the choice of what an element without the
    // attribute does to the search.
    HRESULT SearchByAttributeValue(IXMLDOMNodeList* list, const WCHAR* attributeName,
                                   const WCHAR* value, AtNameless atNameless,
                                   IXMLDOMElement** element);

    bool IsInitialized() const { return bool(root_); }
    // The given parent, or the root element when it is null.
    IXMLDOMElement* ParentOrRoot(IXMLDOMElement* parent) const {
        return parent ? parent : root_.Get();
    }

  private:
    // The prefix declared for the namespace in scope at the root element; the
    // namespace manager's answer when none is.
    HRESULT LookupPrefix(const WCHAR* namespaceUri, BSTR* prefix);
    void ReleaseReferences();

    ComPtr<IXMLDOMDocument2> document_;
    ComPtr<IXMLDOMElement> root_;
    ComPtr<IMXNamespaceManager> namespaceManager_;
    HRESULT initialResult_ = E_FAIL;
};

} // namespace ptbridge
