// Names of libxml2 nodes as MSXML reports them: qualified names as written,
// the "#text"-style names of unnamed node kinds, and name matching.
#pragma once

#include "windows.h"

#include <libxml/tree.h>

#include <string>

// A qualified name split at its first colon; prefix is empty when there is none.
struct SplitName {
    std::string prefix;
    std::string local;
};
SplitName SplitQualifiedName(const std::string& name);

// The prefix of an element or attribute, or null when it has none.
const xmlChar* PrefixOf(xmlNodePtr node);

// nodeName: "prefix:local" or "local" for elements and attributes, the target
// of a processing instruction, "#text", "#comment", ... for the other kinds.
std::string NodeName(xmlNodePtr node);

// Whether an element or attribute is written with exactly this qualified name.
bool HasWrittenName(xmlNodePtr node, const SplitName& name);
// The same for a zero-terminated UTF-16 name, compared without converting it.
bool HasWrittenName(xmlNodePtr node, const WCHAR* name);

// Whether two attributes would clash on one element: the same written name or
// the same namespace and local name.
bool AttributesClash(xmlAttrPtr a, xmlAttrPtr b);
