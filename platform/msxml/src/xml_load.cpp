#include "xml_load.h"

#include "node_text.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>

#include <algorithm>
#include <cstring>

namespace ptbridge::standin {

namespace {
// What went wrong while parsing: the first error, kept for the caller.
struct ParseErrors {
    bool failed = false;
    bool outOfMemory = false;
    XmlLoadError first;

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
};

// libxml2 reports every error of the thread here while a load runs. Only the
// parser's own reports, which say where, are kept: libxml2 also describes some
// failures outside the parser (an input its encoding cannot decode), and the
// parser then reports them again in its own terms.
void OnError(void* errors, xmlErrorPtr error) {
    auto parseErrors = static_cast<ParseErrors*>(errors);
    if (error->code == XML_ERR_NO_MEMORY)
        parseErrors->outOfMemory = true;
    if (error->ctxt && error->level >= XML_ERR_ERROR)
        parseErrors->Record(error->message, error->line, error->int2);
}

// Messages printed without a structure, such as an encoder's complaint; the
// parser reports the failure itself.
void IgnoreMessage(void*, const char*, ...) {}

// Sends the thread's libxml2 errors to `errors` while it lives.
class ErrorsCollected {
  public:
    explicit ErrorsCollected(ParseErrors* errors)
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
// The errors being collected are reached through the error handler's context.
void OnDocumentType(void* parser, const xmlChar*, const xmlChar*, const xmlChar*) {
    auto context = static_cast<xmlParserCtxtPtr>(parser);
    static_cast<ParseErrors*>(xmlStructuredErrorContext)
        ->Record("document type declarations are not allowed", xmlSAX2GetLineNumber(context),
                 xmlSAX2GetColumnNumber(context));
    xmlStopParser(context);
}

// Drops the text nodes of white space only that no xml:space="preserve"
// covers. The parser has dropped most of them already.
void DropWhiteSpaceText(xmlNodePtr top) {
    xmlNodePtr node = top;
    while (node) {
        xmlNodePtr dropped = nullptr;
        if (node->type == XML_TEXT_NODE && xmlIsBlankNode(node) &&
            xmlNodeGetSpacePreserve(node->parent) != 1)
            dropped = node;
        if (node->type == XML_ELEMENT_NODE && node->children) {
            node = node->children;
            continue;
        }
        while (node != top && !node->next)
            node = node->parent;
        node = node == top ? nullptr : node->next;
        if (dropped) {
            xmlUnlinkNode(dropped);
            xmlFreeNode(dropped);
        }
    }
}

// Marks the document UTF-8; false when out of memory.
bool MarkUtf8(xmlDocPtr doc) {
    xmlFree(const_cast<xmlChar*>(doc->encoding));
    doc->encoding = xmlStrdup(BAD_CAST "UTF-8");
    return doc->encoding != nullptr;
}

// Feeds the text to the parser a piece at a time, so that it never holds a
// copy of the whole text. False when the parser stopped on text that its
// encoding cannot decode, which it does not report as an error of its own.
bool FeedPieces(xmlParserCtxtPtr parser, const std::string& text, size_t from,
                const ParseErrors& errors) {
    constexpr size_t Piece = 256 * 1024;
    for (size_t at = from; at < text.size() && !errors.failed; at += Piece) {
        int length = static_cast<int>(std::min(Piece, text.size() - at));
        if (xmlParseChunk(parser, text.data() + at, length, 0) == XML_ERR_INVALID_ENCODING)
            return false;
    }
    return errors.failed || xmlParseChunk(parser, nullptr, 0, 1) != XML_ERR_INVALID_ENCODING;
}

// Parses the text; the document, or null when it is not sound.
xmlDocPtr Parse(const std::string& text, TextEncoding encoding, bool preserveWhiteSpace,
                ParseErrors* errors) {
    xmlSAXHandler events;
    xmlSAXVersion(&events, 2);
    events.internalSubset = OnDocumentType;
    ErrorsCollected collected(errors);
    // The first bytes tell the parser how the text is encoded.
    size_t first = std::min<size_t>(text.size(), 4);
    xmlParserCtxtPtr parser =
        xmlCreatePushParserCtxt(&events, nullptr, text.data(), static_cast<int>(first), nullptr);
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
    if (!FeedPieces(parser, text, first, *errors))
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

HRESULT LoadXml(const std::string& text, TextEncoding encoding, bool preserveWhiteSpace,
                xmlDocPtr* doc, XmlLoadError* error) {
    *doc = nullptr;
    ParseErrors errors;
    xmlDocPtr parsed = Parse(text, encoding, preserveWhiteSpace, &errors);
    if (!parsed) {
        if (errors.outOfMemory)
            errors.first = XmlLoadError{"out of memory", 0, 0};
        if (error)
            *error = errors.first;
        return errors.outOfMemory ? E_OUTOFMEMORY : E_FAIL;
    }
    if (!preserveWhiteSpace)
        DropWhiteSpaceText(xmlDocGetRootElement(parsed));
    *doc = parsed;
    return S_OK;
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
