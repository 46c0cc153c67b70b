// The wrapper of a "Feature" element: its name, its sub-features, properties
// and options.
#pragma once

#include "schema/schema_node.h"

namespace ptbridge {

class SchemaOption;
class SchemaProperty;

class SchemaFeature : public SchemaNode {
  public:
    using SchemaNode::SchemaNode;

    // Replaces the text of the existing "name" attribute; false when there is none.
    virtual bool Rename(const WCHAR* namespaceUri, const WCHAR* localName);
    // The feature-container operations, working below this feature.
    virtual SchemaFeature* AddFeature(const WCHAR* namespaceUri, const WCHAR* localName);
    virtual SchemaFeature* FindFeature(const WCHAR* namespaceUri, const WCHAR* localName);
    virtual bool RemoveFeature(const WCHAR* namespaceUri, const WCHAR* localName);
    virtual bool AppendFeature(SchemaNode* feature);
    // Appends a new "Property" named by the pair.
    virtual SchemaProperty* AddProperty(const WCHAR* namespaceUri, const WCHAR* localName);
    // Appends a new "Option" named by the pair, with a "constrained" attribute
    // when a constrained local name is given.
    virtual SchemaOption* AddOption(const WCHAR* namespaceUri, const WCHAR* localName,
                                    const WCHAR* constrainedNamespaceUri = nullptr,
                                    const WCHAR* constrainedLocalName = nullptr);
    // Finds an option by its "name" attribute or its "OptionName" scored property.
    virtual SchemaOption* FindOption(const WCHAR* namespaceUri, const WCHAR* localName);
    // The first "Option" below this feature, at any depth.
    virtual SchemaOption* FirstOption();
    // Removes the named option when it is a direct child of this feature.
    virtual bool RemoveOption(const WCHAR* namespaceUri, const WCHAR* localName);
    // Removes the first option when it is a direct child of this feature.
    virtual bool RemoveFirstOption();
};

} // namespace ptbridge
