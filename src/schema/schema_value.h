// The wrapper of a "Value" element, whose text it reads.
#pragma once

#include "schema/schema_node.h"

namespace ptbridge {

class SchemaValue : public SchemaNode {
  public:
    using SchemaNode::SchemaNode;

    // Copies the value's text into the caller's buffer, under the buffer rules
    // of SchemaNode::FormatQName.
    virtual bool GetText(WCHAR* buffer, ULONG* capacity);
};

} // namespace ptbridge
