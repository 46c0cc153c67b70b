// Moves the device's presentation-direction feature between its private name
// at the top level and the public sub-feature "PresentationDirection" of
// "JobNUpAllDocumentsContiguously".
#include "plugin/print_ticket_provider.h"

#include "common/namespaces.h"
#include "schema/schema_document.h"
#include "schema/schema_feature.h"

#include <memory>

namespace ptbridge {

namespace {
const WCHAR* const PrivateFeatureName = W("JobPresentationDirection");
const WCHAR* const PublicFeatureName = W("PresentationDirection");
const WCHAR* const ParentFeatureName = W("JobNUpAllDocumentsContiguously");
} // namespace

bool PrintTicketProvider::PublishPresentationDirection(SchemaDocument* document) {
    std::unique_ptr<SchemaFeature> feature(
        document->FindFeature(PrivateNamespaceUri, PrivateFeatureName));
    if (!feature)
        return false;
    // The name changes before the parent is looked for: without a parent the
    // feature keeps its public name at its old place.
    if (!feature->Rename(KeywordsNamespaceUri, PublicFeatureName))
        return false;
    std::unique_ptr<SchemaFeature> parent(
        document->FindFeature(KeywordsNamespaceUri, ParentFeatureName));
    if (!parent)
        return false;
    return parent->AppendFeature(feature.get());
}

bool PrintTicketProvider::RestorePresentationDirection(SchemaDocument* document) {
    std::unique_ptr<SchemaFeature> parent(
        document->FindFeature(KeywordsNamespaceUri, ParentFeatureName));
    if (!parent)
        return false;
    std::unique_ptr<SchemaFeature> feature(
        parent->FindFeature(KeywordsNamespaceUri, PublicFeatureName));
    if (!feature)
        return false;
    if (!feature->Rename(PrivateNamespaceUri, PrivateFeatureName))
        return false;
    // Back to the top level, as the last child of the root element.
    return document->AppendFeature(feature.get());
}

} // namespace ptbridge
