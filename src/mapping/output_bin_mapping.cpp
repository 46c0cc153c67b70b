// Announces the device's known output bins by their Print Schema bin type, and
// names the bin chosen in a ticket back from its bin type.
#include "mapping/output_bin_type_map.h"
#include "plugin/print_ticket_provider.h"

#include "common/namespaces.h"
#include "common/same_text.h"
#include "schema/schema_document.h"
#include "schema/schema_feature.h"
#include "schema/schema_option.h"
#include "schema/schema_property.h"
#include "schema/schema_value.h"

#include <memory>

namespace ptbridge {

namespace {
const WCHAR* const OutputBinFeatureName = W("JobOutputBin");
const WCHAR* const BinTypePropertyName = W("BinType");

// Room for a bin-type text or QName of up to 255 characters and its terminator.
constexpr ULONG BinTypeTextCapacity = 256;

// Adds a "BinType" scored property with the entry's bin type to the entry's
// option, when the feature has that option. Failures skip the entry.
void PublishBinType(SchemaFeature* feature, const OutputBinType& entry) {
    std::unique_ptr<SchemaOption> option(
        feature->FindOption(entry.optionNamespace, entry.optionName));
    if (!option)
        return;
    std::unique_ptr<SchemaProperty> binType(
        option->AddScoredProperty(KeywordsNamespaceUri, BinTypePropertyName));
    if (!binType)
        return;
    std::unique_ptr<SchemaValue> value(
        binType->AddQNameValue(entry.binTypeNamespace, entry.binTypeName));
}

// The table entry whose bin type, written as this document writes it, is
// exactly `binTypeText`; null when none is, or when an entry's name cannot be
// written in this document (later entries are then not tried).
const OutputBinType* FindEntryByBinType(SchemaDocument* document, const WCHAR* binTypeText) {
    WCHAR entryText[BinTypeTextCapacity];
    for (const OutputBinType& entry : OutputBinTypeMap) {
        ULONG capacity = BinTypeTextCapacity;
        if (!document->FormatQName(entry.binTypeNamespace, entry.binTypeName, entryText, &capacity))
            return nullptr;
        if (SameText(binTypeText, entryText))
            return &entry;
    }
    return nullptr;
}
} // namespace

bool PrintTicketProvider::PublishOutputBinTypes(SchemaDocument* document) {
    std::unique_ptr<SchemaFeature> feature(
        document->FindFeature(KeywordsNamespaceUri, OutputBinFeatureName));
    if (!feature)
        return false;
    for (const OutputBinType& entry : OutputBinTypeMap)
        PublishBinType(feature.get(), entry);
    return true;
}

bool PrintTicketProvider::RestoreOutputBinOptions(SchemaDocument* document) {
    std::unique_ptr<SchemaFeature> feature(
        document->FindFeature(KeywordsNamespaceUri, OutputBinFeatureName));
    if (!feature)
        return false;
    std::unique_ptr<SchemaOption> option(feature->FirstOption());
    if (!option)
        return false;
    std::unique_ptr<SchemaProperty> binType(
        option->FindScoredProperty(KeywordsNamespaceUri, BinTypePropertyName));
    if (!binType)
        return false;
    std::unique_ptr<SchemaValue> value(binType->FirstValue());
    if (!value)
        return false;

    WCHAR binTypeText[BinTypeTextCapacity];
    ULONG capacity = BinTypeTextCapacity;
    if (!value->GetText(binTypeText, &capacity))
        return false;
    const OutputBinType* entry = FindEntryByBinType(document, binTypeText);
    if (!entry)
        return false;
    if (!option->Rename(entry->optionNamespace, entry->optionName))
        return false;
    return option->RemoveScoredProperty(KeywordsNamespaceUri, BinTypePropertyName);
}

} // namespace ptbridge
