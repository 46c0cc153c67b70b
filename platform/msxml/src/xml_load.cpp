#include "xml_load.h"

#include "node_text.h"
#include "xml_save.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>

#include <algorithm>
#include <cstring>

namespace ptbridge::standin {

namespace {
// What a parse found: the first error, kept for the caller, and whether a
// namespace URI needs escaping when saved. Running out of memory outweighs
// any error it caused after it.
struct ParseState {
    bool failed = false;
    bool outOfMemory = false;
    XmlLoadError first;
    bool escapeUris = false;

    void Record(const char* message, int line, int column) noexcept {
        if (failed)
            return;
        failed = true;
        first.line = line;
        first.column = column;
        try {
            first.message = message ? message : "malformed XML";
            while (!first.message.empty() && IsXmlSpace(first.message.back()))
                first.message.pop_back();
        } catch (...) {
            outOfMemory = true;
        }
    }

    // libxml2 names what it could not allocate, or the limit a document
    // passed (text nodes of 10 MB at most).
    void RecordOutOfMemory(const char* detail, int line, int column) noexcept {
        if (outOfMemory)
            return;
        outOfMemory = true;
        failed = false;
        Record(detail && *detail ? detail : nullptr, line, column);
        try {
            first.message =
                detail && *detail ? "out of memory (" + first.message + ")" : "out of memory";
        } catch (...) {
        }
    }
};

// libxml2 reports every error of the thread here while a load runs. Only the
// parser's own reports, which say where, are kept: libxml2 also describes some
// failures outside the parser (an input its encoding cannot decode), and the
// parser then reports them again in its own terms.
void OnError(void* errors, xmlErrorPtr error) {
    auto parseErrors = static_cast<ParseState*>(errors);
    if (error->code == XML_ERR_NO_MEMORY)
        parseErrors->RecordOutOfMemory(error->message, error->line, error->int2);
    else if (error->ctxt && error->level >= XML_ERR_ERROR)
        parseErrors->Record(error->message, error->line, error->int2);
}

// Messages printed without a structure, such as an encoder's complaint; the
// parser reports the failure itself.
void IgnoreMessage(void*, const char*, ...) {}

// The parse's state, reached from the parser's callbacks through the error
// handler's context, which ErrorsCollected sets.
ParseState& StateOfParse() {
    return *static_cast<ParseState*>(xmlStructuredErrorContext);
}

// Sends the thread's libxml2 errors to `errors` while it lives.
class ErrorsCollected {
  public:
    explicit ErrorsCollected(ParseState* errors)
        : handler_(xmlStructuredError), context_(xmlStructuredErrorContext),
          printer_(xmlGenericError), printerContext_(xmlGenericErrorContext) {
        xmlSetStructuredErrorFunc(errors, OnError);
        xmlSetGenericErrorFunc(nullptr, IgnoreMessage);
    }
    ~ErrorsCollected() {
        xmlSetStructuredErrorFunc(context_, handler_);
        xmlSetGenericErrorFunc(printerContext_, printer_);
    }
    ErrorsCollected(const ErrorsCollected&) = delete;
    ErrorsCollected& operator=(const ErrorsCollected&) = delete;

  private:
    xmlStructuredErrorFunc handler_;
    void* context_;
    xmlGenericErrorFunc printer_;
    void* printerContext_;
};

// Stops the parse at a document type declaration, before its content is read.
void OnDocumentType(void* parser, const xmlChar*, const xmlChar*, const xmlChar*) {
    auto context = static_cast<xmlParserCtxtPtr>(parser);
    StateOfParse().Record("document type declarations are not allowed",
                          xmlSAX2GetLineNumber(context), xmlSAX2GetColumnNumber(context));
    xmlStopParser(context);
}

// The start of an element: notes the namespace URIs it declares that saving
// must escape.
void OnStartElement(void* parser, const xmlChar* localName, const xmlChar* prefix,
                    const xmlChar* uri, int declarationCount, const xmlChar** declarations,
                    int attributeCount, int defaultedCount, const xmlChar** attributes) {
    for (int i = 0; i < declarationCount; ++i)
        if (UriNeedsEscaping(declarations[2 * i + 1]))
            StateOfParse().escapeUris = true;
    xmlSAX2StartElementNs(parser, localName, prefix, uri, declarationCount, declarations,
                          attributeCount, defaultedCount, attributes);
}

// Drops the element's text children of white space only, unless
// xml:space="preserve" covers them.
void DropWhiteSpaceChildren(xmlNodePtr element) {
    int preserved = -2; // looked up at the first such child
    for (xmlNodePtr child = element->children; child;) {
        xmlNodePtr next = child->next;
        if (child->type == XML_TEXT_NODE && xmlIsBlankNode(child)) {
            if (preserved == -2)
                preserved = xmlNodeGetSpacePreserve(element);
            if (preserved == 1)
                return;
            xmlUnlinkNode(child);
            xmlFreeNode(child);
        }
        child = next;
    }
}

// The end of an element, when white space is not preserved: its children are
// complete, and still in the cache, so the white space the parser kept
// (XML_PARSE_NOBLANKS leaves out most) is dropped here.
void OnEndElementDroppingWhiteSpace(void* parser, const xmlChar* localName, const xmlChar* prefix,
                                    const xmlChar* uri) {
    if (xmlNodePtr element = static_cast<xmlParserCtxtPtr>(parser)->node)
        DropWhiteSpaceChildren(element);
    xmlSAX2EndElementNs(parser, localName, prefix, uri);
}

// Marks the document UTF-8; false when out of memory.
bool MarkUtf8(xmlDocPtr doc) {
    xmlFree(const_cast<xmlChar*>(doc->encoding));
    doc->encoding = xmlStrdup(BAD_CAST "UTF-8");
    return doc->encoding != nullptr;
}

// Feeds the rest of the first piece, then every further piece, to the parser,
// so that neither it nor the loader holds a copy of the whole text. False when
// the parser stopped on text that its encoding cannot decode, which it does not
// report as an error of its own.
bool FeedPieces(xmlParserCtxtPtr parser, const TextPieces& pieces, const char* data, size_t length,
                ParseState* errors, size_t* textSize) {
    while (length > 0 && !errors->failed) {
        if (xmlParseChunk(parser, data, static_cast<int>(length), 0) == XML_ERR_INVALID_ENCODING)
            return false;
        if (errors->failed)
            break; // nothing more is read after the first error
        if (!pieces(&data, &length)) {
            errors->Record("the text cannot be read to its end", xmlSAX2GetLineNumber(parser),
                           xmlSAX2GetColumnNumber(parser));
            return true;
        }
        *textSize += length;
    }
    return errors->failed || xmlParseChunk(parser, nullptr, 0, 1) != XML_ERR_INVALID_ENCODING;
}

// Parses the text; the document, or null when it is not sound.
xmlDocPtr Parse(const TextPieces& pieces, TextEncoding encoding, bool preserveWhiteSpace,
                ParseState* errors, size_t* textSize) {
    xmlSAXHandler events;
    xmlSAXVersion(&events, 2);
    events.internalSubset = OnDocumentType;
    events.startElementNs = OnStartElement;
    if (!preserveWhiteSpace)
        events.endElementNs = OnEndElementDroppingWhiteSpace;
    ErrorsCollected collected(errors);
    const char* data = nullptr;
    size_t length = 0;
    if (!pieces(&data, &length)) {
        errors->Record("the text cannot be read", 0, 0);
        return nullptr;
    }
    *textSize = length;
    // The first bytes tell the parser how the text is encoded.
    size_t first = std::min<size_t>(length, 4);
    xmlParserCtxtPtr parser =
        xmlCreatePushParserCtxt(&events, nullptr, data, static_cast<int>(first), nullptr);
    if (!parser) {
        errors->outOfMemory = true;
        return nullptr;
    }
    // Character references and the predefined entities arrive decoded (in
    // namespace URIs too); with the document type refused there are no other
    // entities to substitute.
    int options = XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                  XML_PARSE_COMPACT;
    if (!preserveWhiteSpace)
        options |= XML_PARSE_NOBLANKS;
    if (encoding == TextEncoding::Utf8)
        options |= XML_PARSE_IGNORE_ENC;
    xmlCtxtUseOptions(parser, options);
    if (!FeedPieces(parser, pieces, data + first, length - first, errors, textSize))
        errors->Record("the text cannot be decoded in its encoding", xmlSAX2GetLineNumber(parser),
                       xmlSAX2GetColumnNumber(parser));
    xmlDocPtr doc = parser->myDoc;
    bool sound =
        parser->wellFormed && !errors->failed && !errors->outOfMemory && xmlDocGetRootElement(doc);
    xmlFreeParserCtxt(parser);
    if (sound && !MarkUtf8(doc))
        errors->outOfMemory = true;
    if (!sound || errors->outOfMemory) {
        errors->Record(nullptr, 0, 0);
        xmlFreeDoc(doc);
        return nullptr;
    }
    return doc;
}
} // namespace

HRESULT LoadXml(const TextPieces& pieces, TextEncoding encoding, bool preserveWhiteSpace,
                LoadedXml* loaded, XmlLoadError* error) {
    *loaded = LoadedXml();
    ParseState state;
    size_t textSize = 0;
    xmlDocPtr doc = Parse(pieces, encoding, preserveWhiteSpace, &state, &textSize);
    if (!doc) {
        if (state.outOfMemory && state.first.message.rfind("out of memory", 0) != 0)
            state.first = XmlLoadError{"out of memory", 0, 0};
        if (error)
            *error = state.first;
        return state.outOfMemory ? E_OUTOFMEMORY : E_FAIL;
    }
    loaded->doc = doc;
    loaded->escapeUris = state.escapeUris;
    loaded->textSize = textSize;
    return S_OK;
}

TextPieces PiecesOf(const std::string& text) {
    return [&text, at = size_t(0)](const char** data, size_t* length) mutable {
        constexpr size_t Piece = 256 * 1024;
        *data = text.data() + at;
        *length = std::min(Piece, text.size() - at);
        at += *length;
        return true;
    };
}

xmlDocPtr NewDocument() {
    xmlDocPtr doc = xmlNewDoc(BAD_CAST "1.0");
    if (doc && !(doc->dict = xmlDictCreate())) {
        xmlFreeDoc(doc);
        return nullptr;
    }
    if (doc && !MarkUtf8(doc)) {
        xmlFreeDoc(doc);
        return nullptr;
    }
    return doc;
}

} // namespace ptbridge::standin
