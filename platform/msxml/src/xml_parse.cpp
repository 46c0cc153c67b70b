#include "xml_parse.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>

#include <climits>

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

FirstError& ErrorsOf(void* parserContext) {
    return *static_cast<FirstError*>(static_cast<xmlParserCtxtPtr>(parserContext)->_private);
}

void OnParserError(void* parserContext, xmlErrorPtr error) {
    if (error->level >= XML_ERR_ERROR)
        ErrorsOf(parserContext)
            .Record(error->message ? error->message : "XML error", error->line, error->int2);
}

// Errors raised outside the parser context, such as input that its declared
// encoding cannot decode, go to libxml2's handler for the thread, which would
// print them; the parser reports the failure itself.
void IgnoreError(void*, xmlErrorPtr) {}

// Makes the thread's libxml2 error handler IgnoreError while it lives.
class ThreadErrorsIgnored {
  public:
    ThreadErrorsIgnored() : handler_(xmlStructuredError), context_(xmlStructuredErrorContext) {
        xmlSetStructuredErrorFunc(nullptr, IgnoreError);
    }
    ~ThreadErrorsIgnored() { xmlSetStructuredErrorFunc(context_, handler_); }
    ThreadErrorsIgnored(const ThreadErrorsIgnored&) = delete;
    ThreadErrorsIgnored& operator=(const ThreadErrorsIgnored&) = delete;

  private:
    xmlStructuredErrorFunc handler_;
    void* context_;
};

void OnDocumentType(void* parserContext, const xmlChar*, const xmlChar*, const xmlChar*) {
    auto context = static_cast<xmlParserCtxtPtr>(parserContext);
    ErrorsOf(context).Record("document type declarations are not allowed",
                             xmlSAX2GetLineNumber(context), xmlSAX2GetColumnNumber(context));
    xmlStopParser(context);
}

// Parses with one parser context; null when the text is not a sound document.
xmlDocPtr ParseWithContext(const std::string& text, TextEncoding encoding, NodeStrings strings,
                           FirstError& errors) {
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    if (!context)
        return nullptr;
    context->_private = &errors;
    context->sax->serror = OnParserError;
    context->sax->internalSubset = OnDocumentType;
    int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    options |= strings == NodeStrings::Shared ? XML_PARSE_COMPACT : XML_PARSE_NODICT;
    const char* forced = nullptr;
    if (encoding == TextEncoding::Utf8) {
        options |= XML_PARSE_IGNORE_ENC;
        forced = "UTF-8";
    }
    ThreadErrorsIgnored quiet;
    xmlDocPtr doc = xmlCtxtReadMemory(context, text.data(), static_cast<int>(text.size()), nullptr,
                                      forced, options);
    if (doc && !(context->wellFormed && context->nsWellFormed && !errors.seen)) {
        xmlFreeDoc(doc);
        doc = nullptr;
    }
    xmlFreeParserCtxt(context);
    return doc;
}
} // namespace

xmlDocPtr ParseXml(const std::string& text, TextEncoding encoding, NodeStrings strings,
                   XmlLoadError* error) {
    FirstError errors;
    if (text.size() > INT_MAX)
        errors.Record("document too large", 0, 0);
    xmlDocPtr doc = errors.seen ? nullptr : ParseWithContext(text, encoding, strings, errors);
    if (!doc) {
        errors.Record("malformed XML", 0, 0);
        if (error)
            *error = errors.error;
    }
    return doc;
}
