// Names of nodes as MSXML reports them: qualified names as written, the
// "#text"-style names of unnamed node kinds, and name matching.
#pragma once

#include "dom_node.h"
#include "windows.h"

#include <string>

// A qualified name split at its first colon; prefix is empty when there is none.
struct SplitName {
    std::string prefix;
    std::string local;
};
SplitName SplitQualifiedName(const std::string& name);

// The prefix of an element or attribute, or null when it has none.
const char* PrefixOf(const Node* node);

// nodeName: "prefix:local" or "local" for elements and attributes, the target
// of a processing instruction, "#text", "#comment", ... for the other kinds.
std::string NodeName(const Node* node);

// Whether an element or attribute is written with exactly this qualified name.
bool HasWrittenName(const Node* node, const SplitName& name);
// The same for a zero-terminated UTF-16 name, compared without converting it.
bool HasWrittenName(const Node* node, const WCHAR* name);

// Whether two attributes would clash on one element: the same written name or
// the same namespace and local name.
bool AttributesClash(const Attribute* a, const Attribute* b);

// Whether the text is a name as XML allows it without a colon (NCName) or,
// with `qualified`, a qualified name (at most one colon between NCNames).
bool IsXmlName(const std::string& text, bool qualified);
