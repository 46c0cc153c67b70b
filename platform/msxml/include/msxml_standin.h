// Host-side operations of the stand-in MSXML DOM that live outside COM:
// creating, loading and saving documents, making namespace managers, and the
// live-object count that tests use to prove nothing leaked.
//
// The DOM models MSXML 6 on libxml2's own tree. What it does, point by point,
// and where it knowingly differs from MSXML:
// - White space. Documents start with preserveWhiteSpace false, as MSXML's
//   do. A load (loadXML, or the functions below with their
//   preserveWhiteSpace argument) then drops the text nodes of white space
//   only, except under xml:space="preserve" (the nearest xml:space decides);
//   CDATA sections are always kept. Changing preserveWhiteSpace takes effect
//   at the next load, and at once for text (below). A known difference: MSXML
//   remembers where it dropped white space and prints a line break there on
//   output; the stand-in drops it for good, and saves the tree as it stands,
//   without reindenting.
// - text. An element's (or the document's) text joins its descendant text and
//   CDATA nodes, comments and processing instructions excluded. Unless the
//   document preserves white space, white space is trimmed at the two ends of
//   the joined text as far as it comes from text nodes outside
//   xml:space="preserve"; CDATA content is never trimmed, so trimming stops at
//   a CDATA section ("<m> a <![CDATA[ b ]]> c </m>" gives "a  b  c"). An empty
//   element gives S_OK and an empty string (MSXML's documentation allows
//   S_FALSE; Wine answers S_OK). A text node's own text is its raw content.
//   Adjacent CDATA sections load as one section (libxml2 joins them).
// - Namespace declarations (xmlns, xmlns:p) are listed in an element's
//   attributes, before its other attributes: nodeName "xmlns:p", prefix
//   "xmlns" (none for xmlns), baseName "p" (or "xmlns"), namespaceURI
//   http://www.w3.org/2000/xmlns/, value the declared URI. createNode makes
//   such an attribute (its namespace must be empty or the xmlns one), whose
//   value may be set until setAttributeNode adds the declaration to an
//   element; setAttributeNode refuses it when the element already declares the
//   prefix or its own name has the prefix in another namespace. A declaration
//   on an element cannot change its value (E_FAIL) and cannot be removed.
// - Names. What a node lacks (the prefix of an unprefixed name, the
//   namespace of a name in none, the base name of the document, text or a
//   comment) get_prefix, get_namespaceURI and get_baseName answer with S_FALSE
//   and a null string, as MSXML does, never with an empty string. An
//   unprefixed attribute has no namespace, whatever createNode was given. A
//   created or moved node reuses the declaration in scope where it joins the
//   document when that binds its prefix to its namespace; otherwise an
//   element declares its prefix on itself, and an attribute whose prefix is
//   already bound to another namespace there is given a fresh prefix ("ns0",
//   ...). Saving writes an element's namespace declarations before its
//   attributes.
// - get_xml shows a node with the declarations made on its own elements only
//   (a detached node keeps its prefixes, which are declared again once it
//   joins the document); the document's xml starts <?xml version="1.0"?>.
// - Identity and lifetime: one object per node, so asking twice gives the same
//   object. A node that leaves the document (removeChild, put_text, loadXML)
//   or was never attached lives, with its document, until the last object of
//   that document goes. Node lists and child lists are snapshots.
// - Documents with a document type declaration are refused, as MSXML 6 does
//   by default; nothing is fetched from the network or the file system, at
//   most 256 levels of nesting are accepted, a text node or attribute value
//   holds at most 10,000,000 bytes and a name at most 50,000 (libxml2's
//   limits). A namespace name that is not a valid URI reference (spaces, as
//   in the private namespaces Windows builds from a driver's name, backticks,
//   a relative reference) loads as MSXML loads it, and is kept and saved as
//   written, escaped where markup requires. Malformed XML, an undeclared
//   prefix, a NUL character, UTF-32 and two byte-order marks are refused.
// - Load errors are worded for a person who edits the document (the document
//   ends early inside <psf:Feature>, opened at line 3; an end tag where
//   another was expected; a prefix not declared; a limit passed, with the
//   limit) and placed at the fault's own line and column, an unpaired UTF-16
//   surrogate or a NUL character included; an error the wording does not
//   know keeps libxml2's text.
// - Results: E_INVALIDARG for a null out-pointer of a DOM method, as MSXML
//   documents (QueryInterface answers E_POINTER, as COM requires, and so do
//   the namespace manager and the functions below), and for a missing or
//   unfit argument (a node of another document, a non-child to removeChild, an
//   ancestor to appendChild, a second root element, a refused name), S_FALSE
//   with a null out-value for "none" (past the end of a list, an absent
//   attribute, no parent, no prefix, namespace or base name, a prefix getURI
//   finds unbound); the namespace manager's getPrefix and getDeclaredPrefix
//   answer E_FAIL past their last prefix, as MSXML does. loadXML discards the
//   document's content at once, as MSXML does: when it fails (S_FALSE for
//   malformed text) the document is left empty, with no document element.
//   Running out of memory gives E_OUTOFMEMORY; no C++ exception leaves the
//   DOM.
// Where MSXML's documentation is silent, these are the stand-in's own choices.
#pragma once

#include "msxml6.h"
#include "windows.h"

#include <functional>
#include <string>

namespace ptbridge {

// Where and why a document could not be loaded.
struct XmlLoadError {
    std::string message; // e.g. "the prefix 'psf' of <psf:Feature> is not declared: ..."
    int line = 0;        // 1-based; 0 when unknown
    int column = 0;      // 1-based; 0 when unknown
};

// A new, empty document with one reference.
PTBRIDGE_STANDIN_API HRESULT CreateDomDocument(IXMLDOMDocument2** document);

// Parses UTF-8 (or declared-encoding) XML into a document whose
// preserveWhiteSpace is `preserveWhiteSpace`. On failure: a failure HRESULT,
// *document null, and *error (when given) filled. Malformed XML, undeclared
// namespace prefixes, document type declarations and too deep nesting fail
// with E_FAIL, as do the limits on nesting, text and names; running out of
// memory gives E_OUTOFMEMORY and the message "out of memory". A file that cannot be
// read gives HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) when it does not exist
// (else E_ACCESSDENIED or E_FAIL) and a message naming the path.
PTBRIDGE_STANDIN_API HRESULT LoadDocumentFromString(const std::string& xml,
                                                    IXMLDOMDocument2** document,
                                                    XmlLoadError* error,
                                                    bool preserveWhiteSpace = false);
PTBRIDGE_STANDIN_API HRESULT LoadDocumentFromFile(const std::string& path,
                                                  IXMLDOMDocument2** document, XmlLoadError* error,
                                                  bool preserveWhiteSpace = false);

// A document's text a piece at a time, as its reader gets it: each call gives
// the next piece through *data and *length, *length 0 at the end; false when
// the text cannot be read on.
using XmlTextPieces = std::function<bool(const char** data, size_t* length)>;

// Parses the text as the pieces come, as LoadDocumentFromString does; no
// piece is asked for after the one in which the parser met its first error,
// so an endless or huge malformed input ends there. A reader that fails gives
// E_FAIL with a message that the text cannot be read; the reader knows why.
PTBRIDGE_STANDIN_API HRESULT LoadDocumentFromPieces(const XmlTextPieces& pieces,
                                                    IXMLDOMDocument2** document,
                                                    XmlLoadError* error,
                                                    bool preserveWhiteSpace = false);

// A deep copy of a stand-in document with one reference: a new document with
// the source's exact content and preserveWhiteSpace, sharing no node with it.
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
