// Names of nodes as MSXML reports them: qualified names as written, the
// "#text"-style names of unnamed kinds, namespace declarations named as the
// attributes they are written as, and name matching.
#pragma once

#include <libxml/tree.h>

#include <string>

namespace ptbridge::standin {

constexpr char XmlNamespaceUri[] = "http://www.w3.org/XML/1998/namespace";
constexpr char XmlnsNamespaceUri[] = "http://www.w3.org/2000/xmlns/";

// A qualified name split at its first colon; prefix is empty when there is none.
struct SplitName {
    std::string prefix;
    std::string local;
};
SplitName SplitQualifiedName(const std::string& name);

// The namespace of an element or attribute; null for other nodes and for none.
xmlNsPtr NamespaceOf(xmlNodePtr node);
// The prefix of an element or attribute; null when it has none.
const xmlChar* PrefixOf(xmlNodePtr node);

// nodeName: "prefix:local" or "local" for elements and attributes, the target
// of a processing instruction, "#text", "#comment", ... for the other kinds.
std::string NodeName(xmlNodePtr node);
// The name of the attribute a namespace declaration is written as: "xmlns"
// or "xmlns:p".
std::string DeclarationName(xmlNsPtr declaration);

// Whether an element or attribute is written with exactly this qualified name.
bool HasWrittenName(xmlNodePtr node, const SplitName& name);

// Whether two attributes would clash on one element: the same written name or
// the same namespace and local name.
bool AttributesClash(xmlAttrPtr a, xmlAttrPtr b);

// Whether the text is a name as XML allows it without a colon (NCName) or,
// with `qualified`, a qualified name (at most one colon between NCNames).
bool IsXmlName(const std::string& text, bool qualified);

inline const char* Text(const xmlChar* text) {
    return text ? reinterpret_cast<const char*>(text) : "";
}
inline const xmlChar* XmlText(const std::string& text) {
    return reinterpret_cast<const xmlChar*>(text.c_str());
}

} // namespace ptbridge::standin
