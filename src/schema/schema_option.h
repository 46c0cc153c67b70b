// The wrapper of an "Option" element: its name, in either form, and its
// scored properties.
//
// An option is named either by its "name" attribute (a QName) or, without
// one, by the text of the first "Value" of its "OptionName" scored property.
#pragma once

#include "schema/schema_node.h"

namespace ptbridge {

class SchemaProperty;

class SchemaOption : public SchemaNode {
  public:
    using SchemaNode::SchemaNode;

    // Appends a new "ScoredProperty" named by the pair.
    virtual SchemaProperty* AddScoredProperty(const WCHAR* namespaceUri, const WCHAR* localName);
    // Finds the scored property named by the pair, at any depth below the option.
    virtual SchemaProperty* FindScoredProperty(const WCHAR* namespaceUri, const WCHAR* localName);
    // Removes the named scored property when it is a direct child of the option.
    virtual bool RemoveScoredProperty(const WCHAR* namespaceUri, const WCHAR* localName);
    // Copies the option's name text (prefix included) into the caller's buffer,
    // under the buffer rules of SchemaNode::FormatQName.
    virtual bool GetName(WCHAR* buffer, ULONG* capacity);
    // Splits the "name" attribute into its namespace URI and local name. The
    // caller frees both with SysFreeString; on false both are null.
    virtual bool GetNameParts(BSTR* namespaceUri, BSTR* localName);
    // Gives the option the name; an option named by its "OptionName" scored
    // property gets a "name" attribute instead and loses that scored property.
    virtual bool Rename(const WCHAR* namespaceUri, const WCHAR* localName);
};

} // namespace ptbridge
