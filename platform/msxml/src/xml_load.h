// Loading whole documents with libxml2's parser, safely: nothing is fetched
// from the network, no entity is substituted, a document type declaration is
// refused before anything in it is read (as MSXML 6 does by default), and at
// most 256 levels of nesting are accepted (libxml2's limit, as MSXML 6's).
// Namespace names are kept as written, valid URI references or not. Errors
// are worded for the document's author (load_error_wording.h) and placed at
// the fault, found ahead of the parser where it would misplace it
// (text_faults.h).
// Unless white space is preserved, text nodes of white space only are dropped
// outside the scope of xml:space="preserve"; CDATA sections are always kept.
#pragma once

#include "msxml_standin.h"
#include "windows.h"

#include <libxml/tree.h>

#include <functional>
#include <string>

namespace ptbridge::standin {

enum class TextEncoding {
    Declared, // the byte-order mark or XML declaration decides; UTF-8 otherwise
    Utf8,     // the text is UTF-8 whatever its declaration says
};

// A loaded document, whether a namespace URI in it needs escaping when it is
// saved (xml_save.h), and the length of the text it was loaded from.
struct LoadedXml {
    xmlDocPtr doc = nullptr;
    bool escapeUris = false;
    size_t textSize = 0;
};

// A document's text a piece at a time: each call gives the next piece through
// *data and *length, *length 0 at the end; false when the text cannot be read.
using TextPieces = std::function<bool(const char** data, size_t* length)>;

// S_OK with the new document in *loaded. E_FAIL, with *error (when given)
// filled, for text that is not a sound document: malformed XML, namespace
// errors such as undeclared prefixes, a document type declaration, a limit
// passed (nesting, text, names), a NUL character, an encoding the parser
// cannot read. Feeding stops at the first error. E_OUTOFMEMORY when memory
// runs out.
HRESULT LoadXml(const TextPieces& pieces, TextEncoding encoding, bool preserveWhiteSpace,
                LoadedXml* loaded, XmlLoadError* error);

// A text held whole, given a piece at a time; the text must outlive them.
TextPieces PiecesOf(const std::string& text);

// A new empty document, as every document of the stand-in is kept: with a
// dictionary for its names, and marked UTF-8 (its content always is) so that
// saving writes attribute values as they are. Null when out of memory.
xmlDocPtr NewDocument();

} // namespace ptbridge::standin
