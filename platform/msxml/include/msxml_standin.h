// Host-side operations of the stand-in MSXML DOM that live outside COM:
// creating, loading and saving documents, making namespace managers, and the
// live-object count that tests use to prove nothing leaked.
//
// Where the stand-in DOM differs from MSXML, or MSXML leaves a choice:
// - Namespace declarations (xmlns, xmlns:p) are not attributes: attribute maps
//   neither list nor find them, and createNode refuses such names. The
//   namespace manager (pushNodeContext, getURI with a context node) reads them.
// - Whitespace text is kept as loaded, and saving writes the tree as it
//   stands, without reindenting; on each element, namespace declarations are
//   written before the attributes.
// - An unprefixed attribute has no namespace, whatever createNode was given.
//   A created or moved node reuses the declaration in scope where it is
//   attached when that binds its prefix to its namespace; otherwise an element
//   declares its prefix on itself, and an attribute whose prefix is already
//   bound to another namespace there is given a fresh prefix ("ns0", ...).
// - get_xml shows a node with the declarations made on it only (a detached
//   node keeps its prefixes, which save declares once it is attached again).
// - Documents with a document type declaration are refused, as MSXML 6 does
//   by default; nothing is ever fetched from the network or the file system.
// - Results: E_POINTER for a null out-pointer, E_INVALIDARG for a missing or
//   unfit argument (a node of another document, a non-child to removeChild, an
//   ancestor to appendChild, a second root element, a refused name), S_FALSE
//   with a null out-value for "none" (past the end of a list, an absent
//   attribute, no parent, a prefix getURI finds unbound); the namespace
//   manager's getPrefix and getDeclaredPrefix answer E_FAIL past their last
//   prefix, as MSXML does. A failed loadXML returns S_FALSE and leaves the
//   document unchanged.
#pragma once

#include "msxml6.h"
#include "windows.h"

#include <string>

namespace ptbridge {

// Where and why a document could not be loaded.
struct XmlLoadError {
    std::string message; // libxml2's description, e.g. "Namespace prefix psf ... not defined"
    int line = 0;        // 1-based; 0 when unknown
    int column = 0;      // 1-based; 0 when unknown
};

// A new, empty document with one reference.
PTBRIDGE_STANDIN_API HRESULT CreateDomDocument(IXMLDOMDocument2** document);

// Parses UTF-8 (or declared-encoding) XML into a document whose
// preserveWhiteSpace property is `preserveWhiteSpace`. On failure: a failure HRESULT,
// *document null, and *error (when given) filled. Malformed XML and undeclared
// namespace prefixes both fail with E_FAIL. A file that cannot be read gives
// HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) when it does not exist (else
// E_ACCESSDENIED or E_FAIL) and a message naming the path.
PTBRIDGE_STANDIN_API HRESULT LoadDocumentFromString(const std::string& xml,
                                                    IXMLDOMDocument2** document,
                                                    XmlLoadError* error,
                                                    bool preserveWhiteSpace = false);
PTBRIDGE_STANDIN_API HRESULT LoadDocumentFromFile(const std::string& path,
                                                  IXMLDOMDocument2** document, XmlLoadError* error,
                                                  bool preserveWhiteSpace = false);

// A deep copy of a stand-in document with one reference: a new document, parsed
// from the source's saved form, that shares no node with the source.
// E_INVALIDARG for a document that is not one of the stand-in's.
PTBRIDGE_STANDIN_API HRESULT CopyDocument(IXMLDOMDocument2* source, IXMLDOMDocument2** copy);

// Serialises the document as UTF-8 XML with an XML declaration naming UTF-8.
// E_INVALIDARG for a document that is not one of the stand-in's.
PTBRIDGE_STANDIN_API HRESULT SaveDocumentToString(IXMLDOMDocument2* document, std::string* xml);

// A fresh namespace manager (CLSID_MXNamespaceManager60) asked for `riid`.
PTBRIDGE_STANDIN_API HRESULT CreateNamespaceManager(REFIID riid, void** object);

// Number of live COM objects of the stand-in DOM (documents, nodes, lists,
// namespace managers; an attribute map is part of its element's object).
PTBRIDGE_STANDIN_API LONG LiveDomObjectCount();

} // namespace ptbridge
