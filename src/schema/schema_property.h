// The wrapper of a "Property" or "ScoredProperty" element and its typed values.
#pragma once

#include "schema/schema_node.h"

namespace ptbridge {

class SchemaValue;

class SchemaProperty : public SchemaNode {
  public:
    using SchemaNode::SchemaNode;

    // Each Add appends a new "Value"; existing values are kept.
    virtual SchemaValue* AddStringValue(const WCHAR* text);
    // The value text is the document's QName for the pair.
    virtual SchemaValue* AddQNameValue(const WCHAR* namespaceUri, const WCHAR* localName);
    virtual SchemaValue* AddIntegerValue(LONG value);
    // The first "Value" below the property, at any depth.
    virtual SchemaValue* FirstValue();
    // Removes the first value when it is a direct child of the property.
    virtual bool RemoveFirstValue();
};

} // namespace ptbridge
