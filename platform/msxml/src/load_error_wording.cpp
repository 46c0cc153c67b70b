#include "load_error_wording.h"

#include <cstdio>
#include <cstring>

namespace ptbridge::standin {

namespace {
// The parser's limits, as a user measures them.
const char* const TextLimit = "10,000,000 bytes (10 MB)";
const char* const NameLimit = "50,000 bytes";

std::string Text(const char* text) {
    return text ? text : "";
}

bool Says(const xmlError& error, const char* part) {
    return error.message && std::strstr(error.message, part);
}

std::string Tag(const std::string& name) {
    return "<" + name + ">";
}

std::string OpenedAt(int line) {
    return line > 0 ? " (opened at line " + std::to_string(line) + ")" : "";
}

std::string TooLong(const std::string& what) {
    return what + " longer than " + TextLimit + ", the most the parser accepts";
}

// The part of the parser's message between its first and last quote.
std::string Quoted(const xmlError& error) {
    std::string message = Text(error.message);
    size_t first = message.find('\'');
    size_t last = message.rfind('\'');
    return first < last ? message.substr(first + 1, last - first - 1) : message;
}

std::string Hex(int code) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
    return text;
}

std::string DocumentEnd(const ParsePlace& place) {
    if (!place.openElement.empty())
        return "the document ends early, inside " + Tag(place.openElement) +
               OpenedAt(place.openedAtLine);
    if (!place.rootSeen)
        return place.textRead ? "the document has no root element" : "the document is empty";
    return "content after the end of the root element; only comments and processing "
           "instructions may follow it";
}

std::string Mismatch(const xmlError& error, const ParsePlace& place) {
    std::string open = place.openElement.empty() ? Text(error.str1) : place.openElement;
    std::string written = Text(error.str2);
    std::string found = written.empty() || written == "unparsable"
                            ? "an end tag"
                            : "an end tag for '" + written + "'";
    return found + " where </" + open + "> was expected (" + Tag(open) + " opened at line " +
           std::to_string(error.int1) + ")";
}

std::string InvalidCharacter(const xmlError& error) {
    if (Says(error, "not proper UTF-8"))
        return "bytes that are not UTF-8: save the document as UTF-8, or name its encoding in the "
               "XML declaration";
    if (Says(error, "CharRef"))
        return "a character reference to " + Hex(error.int1) + ", a character XML does not allow";
    if (error.int1 >= 0xD800 && error.int1 <= 0xDFFF)
        return "a UTF-16 surrogate (" + Hex(error.int1) +
               ") written on its own: half of a character whose other half is missing";
    if (Says(error, "attribute value"))
        return "an attribute value holds a character XML does not allow (a control character?)";
    return "character " + Hex(error.int1) + ", which XML does not allow";
}

std::string Namespace(const xmlError& error) {
    std::string prefix = Text(error.str1);
    std::string declare = ": declare it with xmlns:" + prefix + "=\"...\"";
    if (error.code == XML_NS_ERR_UNDEFINED_NAMESPACE)
        return error.str3 ? "the prefix '" + prefix + "' of the attribute " + prefix + ":" +
                                Text(error.str2) + " on " + Tag(Text(error.str3)) +
                                " is not declared" + declare
                          : "the prefix '" + prefix + "' of " +
                                Tag(prefix + ":" + Text(error.str2)) + " is not declared" + declare;
    if (error.code == XML_NS_ERR_ATTRIBUTE_REDEFINED)
        return "the attribute '" + prefix + "' in namespace " + Text(error.str2) +
               " appears twice on one element";
    if (error.code == XML_NS_ERR_QNAME || error.code == XML_NS_ERR_COLON)
        return "the name '" + Quoted(error) +
               "' misplaces a ':'; a name holds at most one, between a prefix and a local name";
    if (Says(error, "Empty XML namespace"))
        return "xmlns:" + prefix +
               "=\"\" is not allowed: a prefix cannot be undeclared; give it a namespace";
    return "a declaration misuses the reserved prefix xml or xmlns, or their namespaces";
}

// Errors of the XML declaration, of quoting and of white space.
std::string Declaration(const xmlError& error) {
    if (error.code == XML_ERR_UNSUPPORTED_ENCODING)
        return "the XML declaration names the encoding '" + Text(error.str1) +
               "', which is not supported: save the document as UTF-8 or UTF-16";
    if (error.code == XML_ERR_INVALID_ENCODING && Says(error, "labelled UTF-16"))
        return "the XML declaration says UTF-16 but the text is UTF-8: correct the declaration";
    if (error.code == XML_ERR_SPACE_REQUIRED && Says(error, "attributes construct"))
        return "a malformed attribute: write name=\"value\", with white space between attributes";
    if (error.code == XML_ERR_RESERVED_XML_NAME && Says(error, "XML declaration"))
        return "the XML declaration (<?xml ...?>) may stand only at the very start of the "
               "document, before any white space";
    if (error.code == XML_ERR_RESERVED_XML_NAME)
        return "processing instruction names beginning with 'xml' are reserved";
    if (error.code == XML_ERR_SPACE_REQUIRED)
        return "white space is missing here";
    if (error.code == XML_ERR_INVALID_ENCODING)
        return Text(error.message);
    return "a malformed XML declaration: write <?xml version=\"1.0\" encoding=\"UTF-8\"?>";
}

std::string Markup(const xmlError& error, const ParsePlace& place) {
    switch (error.code) {
    case XML_ERR_GT_REQUIRED:
        return error.str1 ? "the start tag " + Tag(Text(error.str1)) +
                                " is not closed: '>' or '/>' expected"
                          : "an end tag is not closed: '>' expected";
    case XML_ERR_NAME_REQUIRED:
        if (Says(error, "EntityRef"))
            break;
        if (Says(error, "attribute name"))
            return "an attribute name is expected here";
        return "'<' not followed by an element name: write a '<' in text as &lt;";
    case XML_ERR_TAG_NOT_FINISHED:
        return "the document ends early, inside " + Tag(Text(error.str1)) + OpenedAt(error.int1);
    case XML_ERR_TAG_NAME_MISMATCH:
        return Mismatch(error, place);
    case XML_ERR_ATTRIBUTE_NOT_STARTED:
        return "an attribute value must be in quotes: \"...\" or '...'";
    case XML_ERR_ATTRIBUTE_NOT_FINISHED:
        return Says(error, "too long") ? TooLong("an attribute value")
                                       : "an attribute value is not closed by its quote";
    case XML_ERR_ATTRIBUTE_WITHOUT_VALUE:
        return "the attribute '" + Text(error.str1) + "' has no value: write " + Text(error.str1) +
               "=\"...\"";
    case XML_ERR_ATTRIBUTE_REDEFINED:
        return "the attribute '" + Text(error.str1) + "' appears twice on one element";
    case XML_ERR_LT_IN_ATTRIBUTE:
        return "an attribute value holds '<': write it as &lt;";
    case XML_ERR_COMMENT_NOT_FINISHED:
        return Says(error, "too big") ? TooLong("a comment") : "a comment is not closed with -->";
    case XML_ERR_HYPHEN_IN_COMMENT:
        return "a comment holds '--', which XML does not allow inside comments";
    case XML_ERR_PI_NOT_FINISHED:
        return Says(error, "too big") ? TooLong("a processing instruction")
                                      : "a processing instruction is not closed with ?>";
    case XML_ERR_CDATA_NOT_FINISHED:
        return Says(error, "too big") ? TooLong("a CDATA section")
                                      : "a CDATA section is not closed with ]]>";
    case XML_ERR_MISPLACED_CDATA_END:
        return "the text holds ']]>', which XML does not allow: write it as ]]&gt;";
    }
    if (Says(error, "EntityRef") || error.code == XML_ERR_ENTITYREF_SEMICOL_MISSING)
        return "a '&' that does not begin a reference such as &amp;: write a '&' itself as &amp;";
    return Text(error.message);
}
} // namespace

std::string DescribeParseError(const xmlError& error, const ParsePlace& place) {
    switch (error.code) {
    case XML_ERR_INTERNAL_ERROR:
        if (Says(error, "Excessive depth"))
            return "elements nest deeper than 256 levels, the most the parser accepts";
        if (Says(error, "Huge input lookup"))
            return TooLong(place.inStartTag ? "a start tag" : "one piece of markup");
        break;
    case XML_ERR_NO_MEMORY: // only the limit on text reads as running out of memory
        return TooLong(place.openElement.empty() ? "a text"
                                                 : "a text in " + Tag(place.openElement));
    case XML_ERR_NAME_TOO_LONG:
        return std::string("a name longer than ") + NameLimit + ", the most the parser accepts";
    case XML_ERR_DOCUMENT_EMPTY:
        return place.textRead ? "the document does not begin with an element: '<' expected"
                              : "the document is empty";
    case XML_ERR_DOCUMENT_END:
        return DocumentEnd(place);
    case XML_ERR_INVALID_CHAR:
        return InvalidCharacter(error);
    case XML_ERR_INVALID_HEX_CHARREF:
    case XML_ERR_INVALID_DEC_CHARREF:
    case XML_ERR_INVALID_CHARREF:
        return "a malformed character reference: write &#NNNN; or &#xHHHH;";
    case XML_ERR_UNDECLARED_ENTITY:
    case XML_WAR_UNDECLARED_ENTITY:
        return "the entity &" + Text(error.str1) +
               "; is not defined: XML defines only &amp; &lt; &gt; &quot; and &apos;; write other "
               "characters as themselves or as &#NNNN;";
    case XML_NS_ERR_XML_NAMESPACE:
    case XML_NS_ERR_UNDEFINED_NAMESPACE:
    case XML_NS_ERR_QNAME:
    case XML_NS_ERR_ATTRIBUTE_REDEFINED:
    case XML_NS_ERR_EMPTY:
    case XML_NS_ERR_COLON:
        return Namespace(error);
    case XML_ERR_UNSUPPORTED_ENCODING:
    case XML_ERR_INVALID_ENCODING:
    case XML_ERR_SPACE_REQUIRED:
    case XML_ERR_RESERVED_XML_NAME:
    case XML_ERR_XMLDECL_NOT_FINISHED:
    case XML_ERR_VERSION_MISSING:
    case XML_ERR_STRING_NOT_STARTED:
    case XML_ERR_STRING_NOT_CLOSED:
    case XML_ERR_ENCODING_NAME:
    case XML_ERR_STANDALONE_VALUE:
        return Declaration(error);
    default:
        break;
    }
    return Markup(error, place);
}

std::string DescribeUndecodableText(const char* encoding) {
    std::string name = encoding ? encoding : "its encoding";
    return "bytes that are not valid " + name +
           ", the encoding the document is read in: save it in the encoding it declares, or as "
           "UTF-8";
}

} // namespace ptbridge::standin
