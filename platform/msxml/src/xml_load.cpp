#include "xml_load.h"

#include "load_error_wording.h"
#include "node_text.h"
#include "text_faults.h"
#include "xml_save.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace ptbridge::standin {

namespace {
// What a parse found: the first error, kept for the caller, whether a
// namespace URI needs escaping when saved, and where the open elements
// started, to name them in an error. Running out of memory outweighs any
// error it caused after it.
struct ParseState {
    bool failed = false;
    bool outOfMemory = false;
    XmlLoadError first;
    bool escapeUris = false;
    size_t textSize = 0;
    size_t markLength = 0; // of the byte-order mark the text starts with
    bool dropWhiteSpace = false;
    bool rootSeen = false;
    int depth = 0;
    std::array<int, 260> openedAt{}; // the parser refuses deeper nesting

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

    void RecordOutOfMemory(int line, int column) noexcept {
        if (outOfMemory)
            return;
        outOfMemory = true;
        failed = false;
        Record("out of memory", line, column);
    }

    // Where the parse is, for wording an error.
    ParsePlace PlaceOf(xmlParserCtxtPtr parser) const {
        ParsePlace place;
        xmlNodePtr open = parser->node;
        if (open && open->type == XML_ELEMENT_NODE) {
            if (open->ns && open->ns->prefix)
                place.openElement =
                    reinterpret_cast<const char*>(open->ns->prefix) + std::string(":");
            place.openElement += reinterpret_cast<const char*>(open->name);
        }
        if (depth > 0 && depth <= static_cast<int>(openedAt.size()))
            place.openedAtLine = openedAt[depth - 1];
        place.rootSeen = rootSeen;
        place.textRead = textSize > markLength;
        place.inStartTag = parser->instate == XML_PARSER_START_TAG;
        return place;
    }
};

// libxml2 reports every error of the thread here while a load runs. Only the
// parser's own reports, which say where, are kept: libxml2 also describes some
// failures outside the parser (an input its encoding cannot decode), and the
// parser then reports them again in its own terms. A namespace URI that is not
// a valid URI reference is kept as written, as MSXML keeps it. The limit on
// text reads as running out of memory, but is a limit.
void OnError(void* errors, xmlErrorPtr error) {
    auto state = static_cast<ParseState*>(errors);
    if (error->code == XML_WAR_NS_URI || error->code == XML_WAR_NS_URI_RELATIVE)
        return;
    bool textLimit = error->code == XML_ERR_NO_MEMORY && error->message &&
                     std::strstr(error->message, "huge text node");
    if (error->code == XML_ERR_NO_MEMORY && !textLimit) {
        state->RecordOutOfMemory(error->line, error->int2);
        return;
    }
    if (!error->ctxt || error->level < XML_ERR_ERROR || state->failed)
        return;
    auto parser = static_cast<xmlParserCtxtPtr>(error->ctxt);
    try {
        std::string message = DescribeParseError(*error, state->PlaceOf(parser));
        state->Record(message.c_str(), error->line, error->int2);
    } catch (...) {
        state->RecordOutOfMemory(error->line, error->int2);
    }
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
// must escape, and the line its start tag ends on.
void OnStartElement(void* parser, const xmlChar* localName, const xmlChar* prefix,
                    const xmlChar* uri, int declarationCount, const xmlChar** declarations,
                    int attributeCount, int defaultedCount, const xmlChar** attributes) {
    ParseState& state = StateOfParse();
    for (int i = 0; i < declarationCount; ++i)
        if (UriNeedsEscaping(declarations[2 * i + 1]))
            state.escapeUris = true;
    if (state.depth < static_cast<int>(state.openedAt.size()))
        state.openedAt[state.depth] = xmlSAX2GetLineNumber(parser);
    ++state.depth;
    state.rootSeen = true;
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

// The end of an element. Unless white space is preserved, its children are
// complete, and still in the cache, so the white space the parser kept
// (XML_PARSE_NOBLANKS leaves out most) is dropped here.
void OnEndElement(void* parser, const xmlChar* localName, const xmlChar* prefix,
                  const xmlChar* uri) {
    ParseState& state = StateOfParse();
    --state.depth;
    xmlNodePtr element = static_cast<xmlParserCtxtPtr>(parser)->node;
    if (state.dropWhiteSpace && element)
        DropWhiteSpaceChildren(element);
    xmlSAX2EndElementNs(parser, localName, prefix, uri);
}

// Marks the document UTF-8; false when out of memory.
bool MarkUtf8(xmlDocPtr doc) {
    xmlFree(const_cast<xmlChar*>(doc->encoding));
    doc->encoding = xmlStrdup(BAD_CAST "UTF-8");
    return doc->encoding != nullptr;
}

// Where the text the parser holds decoded but has not parsed yet ends; where
// its decoder stopped, when it did.
std::pair<int, int> EndOfDecodedText(xmlParserCtxtPtr parser) {
    int line = xmlSAX2GetLineNumber(parser);
    int column = xmlSAX2GetColumnNumber(parser);
    for (const xmlChar* at = parser->input->cur; at < parser->input->end; ++at) {
        if (*at == '\n') {
            ++line;
            column = 1;
        } else if ((*at & 0xC0) != 0x80) {
            ++column;
        }
    }
    return {line, column};
}

// Records that the parser's decoder stopped on bytes the document's encoding
// cannot decode, which the parser does not report as an error of its own.
void RecordUndecodable(xmlParserCtxtPtr parser, ParseState* errors) {
    xmlCharEncodingHandlerPtr decoder = parser->input->buf ? parser->input->buf->encoder : nullptr;
    const char* name = parser->encoding ? reinterpret_cast<const char*>(parser->encoding)
                       : decoder        ? decoder->name
                                        : nullptr;
    bool halted = parser->instate == XML_PARSER_EOF;
    auto [line, column] =
        halted ? std::make_pair(xmlSAX2GetLineNumber(parser), xmlSAX2GetColumnNumber(parser))
               : EndOfDecodedText(parser);
    errors->Record(DescribeUndecodableText(name).c_str(), line, column);
}

// True when the parser's decoder holds back bytes it could not decode, which
// at the end of the text are bytes it cannot.
bool BytesLeftUndecoded(xmlParserCtxtPtr parser) {
    xmlParserInputBufferPtr buffer = parser->input->buf;
    return buffer && buffer->encoder && buffer->raw && xmlBufUse(buffer->raw) > 0;
}

// Feeds a sound part of the text to the parser; false when its decoder stopped.
bool Feed(xmlParserCtxtPtr parser, const char* data, size_t length, ParseState* errors) {
    xmlParseChunk(parser, data, static_cast<int>(length), 0);
    bool decoderStopped =
        parser->instate == XML_PARSER_EOF && !errors->failed && !errors->outOfMemory;
    if (decoderStopped)
        RecordUndecodable(parser, errors);
    return !decoderStopped;
}

// Feeds the rest of the first piece, then every further piece, to the parser,
// so that neither it nor the loader holds a copy of the whole text. Stops at
// the first error, or at a fault the finder sees before the parser does.
void FeedPieces(xmlParserCtxtPtr parser, const TextPieces& pieces, const char* data, size_t length,
                TextFaultFinder* finder, ParseState* errors) {
    while (length > 0 && !errors->failed) {
        size_t sound = finder->SoundPart(data, length);
        if (sound > 0 && !Feed(parser, data, sound, errors))
            return;
        if (finder->Fault() || errors->failed)
            break; // nothing more is read after the first error
        if (!pieces(&data, &length)) {
            errors->Record("the text cannot be read to its end", xmlSAX2GetLineNumber(parser),
                           xmlSAX2GetColumnNumber(parser));
            return;
        }
        errors->textSize += length;
    }
    finder->Finish();
    if (finder->Fault())
        errors->Record(finder->Fault(), finder->Line(), finder->Column());
    if (errors->failed)
        return;
    if (BytesLeftUndecoded(parser) ||
        xmlParseChunk(parser, nullptr, 0, 1) == XML_ERR_INVALID_ENCODING)
        RecordUndecodable(parser, errors);
}

size_t ByteOrderMarkLength(const char* data, size_t length) {
    if (length >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0)
        return 3;
    bool utf16 = length >= 2 &&
                 (std::memcmp(data, "\xFF\xFE", 2) == 0 || std::memcmp(data, "\xFE\xFF", 2) == 0);
    return utf16 ? 2 : 0;
}

// Parses the text; the document, or null when it is not sound.
xmlDocPtr Parse(const TextPieces& pieces, TextEncoding encoding, bool preserveWhiteSpace,
                ParseState* errors) {
    xmlSAXHandler events;
    xmlSAXVersion(&events, 2);
    events.internalSubset = OnDocumentType;
    events.startElementNs = OnStartElement;
    events.endElementNs = OnEndElement;
    errors->dropWhiteSpace = !preserveWhiteSpace;
    ErrorsCollected collected(errors);
    const char* data = nullptr;
    size_t length = 0;
    if (!pieces(&data, &length)) {
        errors->Record("the text cannot be read", 0, 0);
        return nullptr;
    }
    errors->textSize = length;
    errors->markLength = ByteOrderMarkLength(data, length);
    const char* unreadableStart = UnreadableStart(data, length);
    TextFaultFinder finder(data, length, encoding == TextEncoding::Utf8);
    // The first bytes tell the parser how the text is encoded.
    size_t first = std::min<size_t>(finder.SoundPart(data, std::min<size_t>(length, 4)), 4);
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
    FeedPieces(parser, pieces, data + first, finder.Fault() ? 0 : length - first, &finder, errors);
    xmlDocPtr doc = parser->myDoc;
    bool sound =
        parser->wellFormed && !errors->failed && !errors->outOfMemory && xmlDocGetRootElement(doc);
    xmlFreeParserCtxt(parser);
    if (sound && !MarkUtf8(doc))
        errors->outOfMemory = true;
    if (!sound || errors->outOfMemory) {
        errors->Record(nullptr, 0, 0);
        // What the parser makes of a start it cannot read says nothing of it.
        if (unreadableStart && !errors->outOfMemory && errors->first.line <= 1)
            errors->first = XmlLoadError{unreadableStart, 1, 1};
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
    xmlDocPtr doc = Parse(pieces, encoding, preserveWhiteSpace, &state);
    if (!doc) {
        if (state.outOfMemory && state.first.message.rfind("out of memory", 0) != 0)
            state.first = XmlLoadError{"out of memory", 0, 0};
        if (error)
            *error = state.first;
        return state.outOfMemory ? E_OUTOFMEMORY : E_FAIL;
    }
    loaded->doc = doc;
    loaded->escapeUris = state.escapeUris;
    loaded->textSize = state.textSize;
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
