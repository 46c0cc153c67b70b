// Writes the number of punched holes that the device options select into the
// first option of the ticket's "JobHolePunch" feature.
#include "plugin/print_ticket_provider.h"

#include "common/namespaces.h"
#include "schema/schema_document.h"
#include "schema/schema_feature.h"
#include "schema/schema_option.h"
#include "schema/schema_property.h"
#include "schema/schema_value.h"

#include <cstring>
#include <memory>

namespace ptbridge {

namespace {
const WCHAR* const HolePunchFeatureName = W("JobHolePunch");
const WCHAR* const HoleCountPropertyName = W("HoleCount");

struct HoleCountKeyword {
    const char* keyword;
    LONG holes;
};
constexpr HoleCountKeyword PunchHoleKeywords[] = {
    {"2Holes", 2},
    {"3Holes", 3},
    {"4Holes", 4},
};

// The device's option keyword for `feature`, or null when the core driver
// gives no answer. The keyword stays the core driver's.
PCSTR DeviceOption(IPrintCoreHelper* coreHelper, const DEVMODEW* devmode, DWORD devmodeSize,
                   PCSTR feature) {
    PCSTR option = nullptr;
    if (coreHelper->GetOption(devmode, devmodeSize, feature, &option) != S_OK)
        return nullptr;
    return option;
}

// Keywords compare byte for byte, terminator included: case and trailing
// blanks matter.
bool SameKeyword(PCSTR option, const char* keyword) {
    return option && std::strcmp(option, keyword) == 0;
}

// Both device options are always read: "PunchHole" picks the count, and a
// "Punch" of "NONE" turns punching off whatever "PunchHole" says.
LONG DeviceHoleCount(IPrintCoreHelper* coreHelper, const DEVMODEW* devmode, DWORD devmodeSize) {
    LONG holes = 0;
    PCSTR punchHole = DeviceOption(coreHelper, devmode, devmodeSize, "PunchHole");
    for (const HoleCountKeyword& entry : PunchHoleKeywords) {
        if (SameKeyword(punchHole, entry.keyword)) {
            holes = entry.holes;
            break;
        }
    }
    PCSTR punch = DeviceOption(coreHelper, devmode, devmodeSize, "Punch");
    if (SameKeyword(punch, "NONE"))
        holes = 0;
    return holes;
}
} // namespace

bool PrintTicketProvider::PublishHoleCount(SchemaDocument* document, IPrintCoreHelper* coreHelper,
                                           DWORD cbDevmode, PDEVMODEW pDevmode) {
    LONG holes = DeviceHoleCount(coreHelper, pDevmode, cbDevmode);

    std::unique_ptr<SchemaFeature> feature(
        document->FindFeature(KeywordsNamespaceUri, HolePunchFeatureName));
    if (!feature)
        return false;
    std::unique_ptr<SchemaOption> option(feature->FirstOption());
    if (!option)
        return false;
    std::unique_ptr<SchemaProperty> holeCount(
        option->FindScoredProperty(KeywordsNamespaceUri, HoleCountPropertyName));
    if (!holeCount)
        holeCount.reset(option->AddScoredProperty(KeywordsNamespaceUri, HoleCountPropertyName));
    if (!holeCount)
        return false;
    // An existing count is kept: the new value goes after it.
    std::unique_ptr<SchemaValue> value(holeCount->AddIntegerValue(holes));
    return value != nullptr;
}

} // namespace ptbridge
