// The feature-container operations, written once for the two kinds of wrapper
// that hold features: the document (its root element) and a feature (its
// sub-features). SchemaDocument and SchemaFeature declare them as their own
// virtual operations and forward here. The container is reached only through
// its virtual Element() and Helper().
#pragma once

#include "schema/schema_node.h"

namespace ptbridge {

class SchemaFeature;

namespace FeatureContainer {

SchemaFeature* AddFeature(const SchemaNode& container, const WCHAR* namespaceUri,
                          const WCHAR* localName);
SchemaFeature* FindFeature(const SchemaNode& container, const WCHAR* namespaceUri,
                           const WCHAR* localName);
bool RemoveFeature(const SchemaNode& container, const WCHAR* namespaceUri, const WCHAR* localName);
bool AppendFeature(const SchemaNode& container, const SchemaNode* feature);

} // namespace FeatureContainer

} // namespace ptbridge
