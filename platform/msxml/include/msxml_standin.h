// Host-side operations of the stand-in MSXML DOM that live outside COM:
// creating, loading and saving documents, making namespace managers, and the
// live-object count that tests use to prove nothing leaked.
#pragma once

#include "msxml6.h"
#include "windows.h"

#include <string>

// Where and why a document could not be loaded.
struct XmlLoadError {
    std::string message; // libxml2's description, e.g. "Namespace prefix psf ... not defined"
    int line = 0;        // 1-based; 0 when unknown
    int column = 0;      // 1-based; 0 when unknown
};

// A new, empty document with one reference.
HRESULT CreateDomDocument(IXMLDOMDocument2** document);

// Parses UTF-8 (or declared-encoding) XML. On failure: a failure HRESULT,
// *document null, and *error (when given) filled. Malformed XML and undeclared
// namespace prefixes both fail.
HRESULT LoadDocumentFromString(const std::string& xml, IXMLDOMDocument2** document,
                               XmlLoadError* error);
HRESULT LoadDocumentFromFile(const std::string& path, IXMLDOMDocument2** document,
                             XmlLoadError* error);

// Serialises the document as UTF-8 XML with an XML declaration.
HRESULT SaveDocumentToString(IXMLDOMDocument2* document, std::string* xml);

// A fresh namespace manager (CLSID_MXNamespaceManager60) asked for `riid`.
HRESULT CreateNamespaceManager(REFIID riid, void** object);

// Number of live COM objects of the stand-in DOM (documents, nodes, lists,
// maps, namespace managers).
LONG LiveDomObjectCount();
