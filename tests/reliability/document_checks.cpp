#include "document_checks.h"

#include <libxml/c14n.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <cstring>
#include <vector>

namespace {
const char FrameworkUri[] =
    "http://schemas.microsoft.com/windows/2003/08/printing/printschemaframework";
const char KeywordsUri[] =
    "http://schemas.microsoft.com/windows/2003/08/printing/printschemakeywords";
const char XsiUri[] = "http://www.w3.org/2001/XMLSchema-instance";

// Counts a parse's namespace errors, but for a namespace name that is not a
// URI reference: libxml2 reports it as an error, while the DOM, as MSXML,
// keeps such a name as written.
void CountNamespaceError(void* count, xmlErrorPtr error) {
    if (error->domain == XML_FROM_NAMESPACE && error->code != XML_WAR_NS_URI &&
        error->code != XML_WAR_NS_URI_RELATIVE)
        ++*static_cast<int*>(count);
}

// Parses without a depth limit; null when the text is not well-formed.
xmlDocPtr Parse(const std::string& xml, std::string* problem) {
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    if (!context)
        return nullptr;
    int namespaceErrors = 0;
    xmlStructuredErrorFunc handler = xmlStructuredError;
    void* handlerContext = xmlStructuredErrorContext;
    xmlSetStructuredErrorFunc(&namespaceErrors, CountNamespaceError);
    xmlDocPtr doc = xmlCtxtReadMemory(
        context, xml.data(), static_cast<int>(xml.size()), nullptr, nullptr,
        XML_PARSE_NONET | XML_PARSE_HUGE | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    xmlSetStructuredErrorFunc(handlerContext, handler);
    if (doc && !(context->wellFormed && (context->nsWellFormed || namespaceErrors == 0))) {
        xmlFreeDoc(doc);
        doc = nullptr;
    }
    if (!doc && problem) {
        xmlErrorPtr error = xmlCtxtGetLastError(context);
        *problem = error && error->message ? error->message : "not well-formed";
    }
    xmlFreeParserCtxt(context);
    return doc;
}

bool IsFramework(xmlNodePtr node, const char* localName) {
    return node->type == XML_ELEMENT_NODE && node->ns &&
           xmlStrEqual(node->ns->href, BAD_CAST FrameworkUri) &&
           xmlStrEqual(node->name, BAD_CAST localName);
}

// Whether the element's "name" attribute is the QName of the keyword `localName`.
bool HasKeywordName(xmlNodePtr element, const char* localName) {
    xmlChar* name = xmlGetNoNsProp(element, BAD_CAST "name");
    bool matches = false;
    if (name) {
        const char* text = reinterpret_cast<const char*>(name);
        const char* colon = std::strchr(text, ':');
        std::string prefix = colon ? std::string(text, colon) : std::string();
        xmlNsPtr ns = xmlSearchNs(element->doc, element, colon ? BAD_CAST prefix.c_str() : nullptr);
        matches = ns && xmlStrEqual(ns->href, BAD_CAST KeywordsUri) &&
                  std::strcmp(colon ? colon + 1 : text, localName) == 0;
    }
    xmlFree(name);
    return matches;
}

// The elements below `top`, in document order, found without recursion.
std::vector<xmlNodePtr> ElementsBelow(xmlNodePtr top) {
    std::vector<xmlNodePtr> found;
    std::vector<xmlNodePtr> pending{top};
    while (!pending.empty()) {
        xmlNodePtr node = pending.back();
        pending.pop_back();
        if (node != top)
            found.push_back(node);
        for (xmlNodePtr child = node->last; child; child = child->prev)
            if (child->type == XML_ELEMENT_NODE)
                pending.push_back(child);
    }
    return found;
}

// Features, at any depth, named with the keyword.
std::vector<xmlNodePtr> KeywordFeatures(xmlDocPtr doc, const char* localName) {
    std::vector<xmlNodePtr> features;
    for (xmlNodePtr node : ElementsBelow(reinterpret_cast<xmlNodePtr>(doc)))
        if (IsFramework(node, "Feature") && HasKeywordName(node, localName))
            features.push_back(node);
    return features;
}

// A value that carries a hole count: an xsi:type attribute and decimal text.
bool IsCompleteValue(xmlNodePtr value) {
    if (!IsFramework(value, "Value") || !xmlHasNsProp(value, BAD_CAST "type", BAD_CAST XsiUri))
        return false;
    xmlChar* text = xmlNodeGetContent(value);
    bool digits = text && *text;
    for (const xmlChar* c = text; digits && *c; ++c)
        digits = *c >= '0' && *c <= '9';
    xmlFree(text);
    return digits;
}

int CompleteHoleCountValues(xmlDocPtr doc) {
    std::vector<xmlNodePtr> features = KeywordFeatures(doc, "JobHolePunch");
    int values = 0;
    for (xmlNodePtr feature : features) {
        xmlNodePtr firstOption = nullptr;
        for (xmlNodePtr node : ElementsBelow(feature))
            if (!firstOption && IsFramework(node, "Option"))
                firstOption = node;
        if (!firstOption)
            continue;
        for (xmlNodePtr property = firstOption->children; property; property = property->next) {
            if (!IsFramework(property, "ScoredProperty") || !HasKeywordName(property, "HoleCount"))
                continue;
            for (xmlNodePtr value = property->children; value; value = value->next)
                values += IsCompleteValue(value) ? 1 : 0;
        }
    }
    return values;
}

void DropOptionScoredProperties(xmlDocPtr doc, const char* featureName) {
    for (xmlNodePtr feature : KeywordFeatures(doc, featureName)) {
        std::vector<xmlNodePtr> dropped;
        for (xmlNodePtr node : ElementsBelow(feature))
            if (IsFramework(node, "ScoredProperty") && node->parent &&
                IsFramework(node->parent, "Option"))
                dropped.push_back(node);
        for (xmlNodePtr node : dropped) {
            xmlUnlinkNode(node);
            xmlFreeNode(node);
        }
    }
}

bool IsBlank(const xmlChar* text) {
    for (; text && *text; ++text)
        if (*text != ' ' && *text != '\t' && *text != '\n' && *text != '\r')
            return false;
    return true;
}

void DropBlankText(xmlDocPtr doc) {
    std::vector<xmlNodePtr> blank;
    for (xmlNodePtr element : ElementsBelow(reinterpret_cast<xmlNodePtr>(doc)))
        for (xmlNodePtr child = element->children; child; child = child->next)
            if (child->type == XML_TEXT_NODE && IsBlank(child->content))
                blank.push_back(child);
    for (xmlNodePtr node : blank) {
        xmlUnlinkNode(node);
        xmlFreeNode(node);
    }
}
// Parses `xml`, lets `edit` change the tree and describe what it took away,
// and gives the canonical text followed by that description.
template <class Edit> std::string Canonical(const std::string& xml, Edit edit) {
    std::string problem;
    xmlDocPtr doc = Parse(xml, &problem);
    if (!doc)
        return "<not well-formed: " + problem + ">";
    std::string description = edit(doc);
    DropBlankText(doc);
    xmlChar* canonical = nullptr;
    int length = xmlC14NDocDumpMemory(doc, nullptr, XML_C14N_1_0, nullptr, 0, &canonical);
    std::string text = length < 0 ? "<no canonical form>"
                                  : std::string(reinterpret_cast<char*>(canonical), length);
    xmlFree(canonical);
    xmlFreeDoc(doc);
    return text + description;
}
} // namespace

bool IsWellFormedXml(const std::string& xml, std::string* problem) {
    xmlDocPtr doc = Parse(xml, problem);
    xmlFreeDoc(doc);
    return doc != nullptr;
}

std::string CanonicalForm(const std::string& xml) {
    return Canonical(xml, [](xmlDocPtr) { return std::string(); });
}

std::string SuccessSkeleton(const std::string& xml) {
    return Canonical(xml, [](xmlDocPtr doc) {
        int holeCounts = CompleteHoleCountValues(doc);
        DropOptionScoredProperties(doc, "JobOutputBin");
        DropOptionScoredProperties(doc, "JobHolePunch");
        return "\nhole count values: " + std::to_string(holeCounts);
    });
}
