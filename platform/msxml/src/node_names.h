// Names of nodes as MSXML reports them: qualified names as written, the
// "#text"-style names of unnamed node kinds, and name matching.
#pragma once

#include "dom_node.h"
#include "windows.h"

#include <string>

namespace ptbridge::standin {

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
// A zero-terminated UTF-16 qualified name split at its first colon, in place:
// the prefix runs from `begin` to `prefixEnd` (empty when there is none), the
// local name from `local` to `end`.
struct WideSplitName {
    const WCHAR* begin;
    const WCHAR* prefixEnd;
    const WCHAR* local;
    const WCHAR* end;
};
WideSplitName SplitWideName(const WCHAR* name);
// The same test for such a name, compared without converting it.
bool HasWrittenName(const Node* node, const WideSplitName& name);

// Whether two attributes would clash on one element: the same written name or
// the same namespace and local name.
bool AttributesClash(const Attribute* a, const Attribute* b);

// Whether the text is a name as XML allows it without a colon (NCName) or,
// with `qualified`, a qualified name (at most one colon between NCNames).
bool IsXmlName(const std::string& text, bool qualified);

} // namespace ptbridge::standin
