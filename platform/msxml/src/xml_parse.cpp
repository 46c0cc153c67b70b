#include "xml_parse.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace ptbridge::standin {

namespace {
// The first error the parser reports, kept for the caller.
struct FirstError {
    bool seen = false;
    XmlLoadError error;

    void Record(std::string message, int line, int column) {
        if (seen)
            return;
        while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
            message.pop_back();
        seen = true;
        error.message = std::move(message);
        error.line = line;
        error.column = column;
    }
};

// Names from the parser and the dictionary are compared by content all the
// same: the xml prefix, for one, is not looked up through the dictionary.
bool SameName(const char* a, const char* b) {
    return a && b && std::strcmp(a, b) == 0;
}

bool IsBlank(const char* text, size_t length) {
    for (size_t i = 0; i < length; ++i)
        if (text[i] != ' ' && text[i] != '\t' && text[i] != '\n' && text[i] != '\r')
            return false;
    return true;
}

// Builds the tree from the parser's events. Names arrive already in the
// store's dictionary, which the parser shares. Adjacent character events
// make one text node; whitespace between elements, which repeats all through
// an indented document, is shared through the dictionary.
class TreeBuilder {
  public:
    TreeBuilder(NodeStore& store, DocumentNode* document)
        : store_(store), document_(document), current_(document) {}

    FirstError errors;

    void StartElement(const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri,
                      int declarationCount, const xmlChar** declarations, int attributeCount,
                      const xmlChar** attributes) {
        if (!FlushText())
            return;
        if (++depth_ > MaxDepth)
            return TooDeep();
        Element* element = store_.New<Element>();
        if (!element)
            return OutOfMemory();
        element->name = Text(localName);
        LinkLastChild(current_, element);
        Namespace** end = &element->declarations;
        for (int i = 0; i < declarationCount; ++i) {
            *end = store_.NewNamespace(
                Text(declarations[2 * i]),
                Text(declarations[2 * i + 1] ? declarations[2 * i + 1] : BAD_CAST ""));
            if (!*end)
                return OutOfMemory();
            end = &(*end)->next;
        }
        if (uri)
            element->ns = Declaration(element, Text(prefix));
        Attribute* previous = nullptr;
        for (int i = 0; i < attributeCount; ++i) {
            const xmlChar** fields = attributes + 5 * i;
            Attribute* attribute = store_.New<Attribute>();
            if (!attribute)
                return OutOfMemory();
            attribute->name = Text(fields[0]);
            attribute->parent = element;
            attribute->prev = previous;
            if (previous)
                previous->next = attribute;
            else
                element->attributes = attribute;
            previous = attribute;
            if (fields[1])
                attribute->ns = Declaration(element, Text(fields[1]));
            size_t length = static_cast<size_t>(fields[4] - fields[3]);
            attribute->value = store_.Keep(Text(fields[3]), length);
            if (!attribute->value)
                return OutOfMemory();
        }
        current_ = element;
    }

    void EndElement() {
        if (!FlushText())
            return;
        --depth_;
        if (current_ != document_)
            current_ = static_cast<ParentNode*>(current_->parent);
    }

    void Characters(const xmlChar* text, int length) {
        if (current_ != document_)
            pending_.append(Text(text), static_cast<size_t>(length));
    }

    void CData(const xmlChar* text, int length) {
        if (!FlushText())
            return;
        Node* last = current_->last;
        if (last && last->type == NODE_CDATA_SECTION) {
            auto section = static_cast<TextNode*>(last);
            std::string joined = std::string(section->content) + std::string(Text(text), length);
            if (!(section->content = store_.Keep(joined.data(), joined.size())))
                OutOfMemory();
            return;
        }
        AddText(NODE_CDATA_SECTION, Text(text), static_cast<size_t>(length));
    }

    void Comment(const xmlChar* text) {
        if (FlushText())
            AddText(NODE_COMMENT, Text(text), std::strlen(Text(text)));
    }

    void Instruction(const xmlChar* target, const xmlChar* data) {
        if (!FlushText())
            return;
        auto instruction = store_.New<ProcessingInstruction>();
        if (!instruction)
            return OutOfMemory();
        LinkLastChild(current_, instruction);
        const char* content = data ? Text(data) : "";
        instruction->target = store_.Intern(Text(target), std::strlen(Text(target)));
        instruction->content = store_.Keep(content, std::strlen(content));
        if (!instruction->target || !instruction->content)
            OutOfMemory();
    }

    bool Finish() { return FlushText(); }

    void SetParser(xmlParserCtxtPtr parser) { parser_ = parser; }

  private:
    static const char* Text(const xmlChar* text) { return reinterpret_cast<const char*>(text); }

    // The declaration of the prefix in scope at the element; the document's
    // xml namespace for "xml". The parser has checked that there is one.
    Namespace* Declaration(Element* element, const char* prefix) {
        if (prefix && std::strcmp(prefix, "xml") == 0)
            return document_->parked;
        for (Node* node = element; node && IsElement(node); node = node->parent)
            for (Namespace* ns = static_cast<Element*>(node)->declarations; ns; ns = ns->next)
                if (ns->prefix == prefix || SameName(ns->prefix, prefix))
                    return ns;
        return nullptr;
    }

    void AddText(DOMNodeType type, const char* text, size_t length) {
        auto node = store_.New<TextNode>(type);
        if (!node)
            return OutOfMemory();
        LinkLastChild(current_, node);
        bool shared = type == NODE_TEXT && IsBlank(text, length);
        const char* content = shared ? store_.Intern(text, length) : nullptr;
        node->content = content ? content : store_.Keep(text, length);
        if (!node->content) {
            node->content = "";
            OutOfMemory();
        }
    }

    bool FlushText() {
        if (!pending_.empty()) {
            AddText(NODE_TEXT, pending_.data(), pending_.size());
            pending_.clear();
        }
        return !errors.seen;
    }

    // The parser fed in pieces leaves the nesting to the tree builder, which
    // allows as many levels as libxml2's own parser: 256 unless told otherwise.
    void TooDeep() {
        errors.Record("Excessive depth in document: " + std::to_string(MaxDepth),
                      parser_ ? xmlSAX2GetLineNumber(parser_) : 0,
                      parser_ ? xmlSAX2GetColumnNumber(parser_) : 0);
        if (parser_)
            xmlStopParser(parser_);
    }

    void OutOfMemory() {
        errors.Record("out of memory", 0, 0);
        if (parser_)
            xmlStopParser(parser_);
    }

    NodeStore& store_;
    DocumentNode* document_;
    ParentNode* current_;
    std::string pending_;
    xmlParserCtxtPtr parser_ = nullptr;
    unsigned depth_ = 0;
    static constexpr unsigned MaxDepth = 256;
};

TreeBuilder& BuilderOf(void* parserContext) {
    return *static_cast<TreeBuilder*>(static_cast<xmlParserCtxtPtr>(parserContext)->_private);
}

void OnParserError(void* parserContext, xmlErrorPtr error) {
    if (error->level >= XML_ERR_ERROR)
        BuilderOf(parserContext)
            .errors.Record(error->message ? error->message : "XML error", error->line, error->int2);
}

// Errors raised outside the parser context, such as input that its declared
// encoding cannot decode, go to libxml2's handler for the thread, which would
// print them; the parser reports the failure itself.
void IgnoreError(void*, xmlErrorPtr) {}

// Reports the parser prints without a structure, such as an encoder failure.
void IgnoreMessage(void*, const char*, ...) {}

// Makes the thread's libxml2 error handlers ignore everything while it lives.
class ThreadErrorsIgnored {
  public:
    ThreadErrorsIgnored()
        : handler_(xmlStructuredError), context_(xmlStructuredErrorContext),
          printer_(xmlGenericError), printerContext_(xmlGenericErrorContext) {
        xmlSetStructuredErrorFunc(nullptr, IgnoreError);
        xmlSetGenericErrorFunc(nullptr, IgnoreMessage);
    }
    ~ThreadErrorsIgnored() {
        xmlSetStructuredErrorFunc(context_, handler_);
        xmlSetGenericErrorFunc(printerContext_, printer_);
    }
    ThreadErrorsIgnored(const ThreadErrorsIgnored&) = delete;
    ThreadErrorsIgnored& operator=(const ThreadErrorsIgnored&) = delete;

  private:
    xmlStructuredErrorFunc handler_;
    void* context_;
    xmlGenericErrorFunc printer_;
    void* printerContext_;
};

void OnDocumentType(void* parserContext, const xmlChar*, const xmlChar*, const xmlChar*) {
    auto context = static_cast<xmlParserCtxtPtr>(parserContext);
    BuilderOf(context).errors.Record("document type declarations are not allowed",
                                     xmlSAX2GetLineNumber(context),
                                     xmlSAX2GetColumnNumber(context));
    xmlStopParser(context);
}

void OnStartElement(void* parserContext, const xmlChar* localName, const xmlChar* prefix,
                    const xmlChar* uri, int declarationCount, const xmlChar** declarations,
                    int attributeCount, int, const xmlChar** attributes) {
    BuilderOf(parserContext)
        .StartElement(localName, prefix, uri, declarationCount, declarations, attributeCount,
                      attributes);
}

void OnEndElement(void* parserContext, const xmlChar*, const xmlChar*, const xmlChar*) {
    BuilderOf(parserContext).EndElement();
}

void OnCharacters(void* parserContext, const xmlChar* text, int length) {
    BuilderOf(parserContext).Characters(text, length);
}

void OnCData(void* parserContext, const xmlChar* text, int length) {
    BuilderOf(parserContext).CData(text, length);
}

void OnComment(void* parserContext, const xmlChar* text) {
    BuilderOf(parserContext).Comment(text);
}

void OnInstruction(void* parserContext, const xmlChar* target, const xmlChar* data) {
    BuilderOf(parserContext).Instruction(target, data);
}

// The parser interns names in its dictionary; giving it the store's means the
// names it hands over need no copy. The strings it compares by address must
// then come from the new dictionary too.
void ShareDictionary(xmlParserCtxtPtr context, xmlDictPtr dict) {
    xmlDictFree(context->dict);
    context->dict = dict;
    xmlDictReference(dict);
    context->str_xml = xmlDictLookup(dict, BAD_CAST "xml", 3);
    context->str_xmlns = xmlDictLookup(dict, BAD_CAST "xmlns", 5);
    context->str_xml_ns = xmlDictLookup(dict, XML_XML_NAMESPACE, -1);
}

// Feeds the text to the parser a piece at a time: a parser reading from memory
// would first copy all of it.
// False when the parser stopped on text it could not decode, which it does
// not count as an error of the document.
bool ParseInPieces(xmlParserCtxtPtr context, const std::string& text, int options,
                   const char* forcedEncoding) {
    constexpr size_t Piece = 256 * 1024;
    // The first bytes tell the parser how the text is encoded.
    int first = static_cast<int>(std::min<size_t>(text.size(), 4));
    if (xmlCtxtResetPush(context, text.data(), first, nullptr, forcedEncoding) != 0)
        return false;
    xmlCtxtUseOptions(context, options);
    for (size_t at = first; at < text.size() && !context->disableSAX; at += Piece) {
        int length = static_cast<int>(std::min(Piece, text.size() - at));
        if (xmlParseChunk(context, text.data() + at, length, 0) == XML_ERR_INVALID_ENCODING)
            return false;
    }
    return xmlParseChunk(context, nullptr, 0, 1) != XML_ERR_INVALID_ENCODING;
}

void HandleEvents(xmlSAXHandlerPtr sax) {
    sax->startDocument = nullptr;
    sax->endDocument = nullptr;
    sax->internalSubset = OnDocumentType;
    sax->externalSubset = nullptr;
    sax->reference = nullptr;
    sax->startElementNs = OnStartElement;
    sax->endElementNs = OnEndElement;
    sax->characters = OnCharacters;
    sax->ignorableWhitespace = OnCharacters;
    sax->cdataBlock = OnCData;
    sax->comment = OnComment;
    sax->processingInstruction = OnInstruction;
    sax->serror = OnParserError;
}
} // namespace

bool ParseXml(const std::string& text, TextEncoding encoding, NodeStore& store,
              DocumentNode* document, XmlLoadError* error) {
    TreeBuilder builder(store, document);
    if (text.size() > INT_MAX)
        builder.errors.Record("document too large", 0, 0);
    xmlParserCtxtPtr context = builder.errors.seen ? nullptr : xmlNewParserCtxt();
    if (context) {
        builder.SetParser(context);
        context->_private = &builder;
        ShareDictionary(context, store.Dict());
        HandleEvents(context->sax);
        // Character references and the predefined entities arrive decoded;
        // with no DTD there are no other entities to substitute.
        int options = XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
        const char* forced = nullptr;
        if (encoding == TextEncoding::Utf8) {
            options |= XML_PARSE_IGNORE_ENC;
            forced = "UTF-8";
        }
        ThreadErrorsIgnored quiet;
        if (!ParseInPieces(context, text, options, forced))
            builder.errors.Record("the text cannot be decoded in its encoding",
                                  xmlSAX2GetLineNumber(context), xmlSAX2GetColumnNumber(context));
        bool sound = context->wellFormed && context->nsWellFormed && builder.Finish();
        if (sound) {
            const char* version = reinterpret_cast<const char*>(context->version);
            document->version = version ? store.Intern(version, std::strlen(version)) : "1.0";
            if (!document->version)
                document->version = "1.0";
            document->standalone = context->standalone;
        } else {
            builder.errors.Record("malformed XML", 0, 0);
        }
        xmlFreeParserCtxt(context);
    }
    if (!builder.errors.seen && !RootElement(document))
        builder.errors.Record("malformed XML", 0, 0);
    if (builder.errors.seen && error)
        *error = builder.errors.error;
    return !builder.errors.seen;
}

} // namespace ptbridge::standin
