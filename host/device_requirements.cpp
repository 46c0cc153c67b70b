#include "device_requirements.h"

#include "near_match.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace ptbridge {

namespace {
const std::vector<std::string> CountedHoles = {"2Holes", "3Holes", "4Holes"};

// A device requirement; `needed` ones are mistakes when unmet, the others are
// what the device may leave out on purpose.
Requirement Check(const std::string& subject, bool met, bool needed, const std::string& place,
                  const std::string& missing) {
    Requirement requirement;
    requirement.subject = subject;
    requirement.met = met;
    requirement.needed = needed;
    requirement.place = place;
    if (!met)
        requirement.missing = missing;
    return requirement;
}

const DeviceOption* FindOption(const DeviceFeature& feature, const std::string& keyword) {
    for (const DeviceOption& option : feature.options) {
        if (option.keyword == keyword)
            return &option;
    }
    return nullptr;
}

std::string Keywords(const DeviceFeature& feature) {
    std::string text;
    for (const DeviceOption& option : feature.options)
        text += (text.empty() ? "" : ", ") + option.keyword;
    return text;
}

bool MeansNone(const std::string& keyword) {
    std::string lower = keyword;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower == "none" || lower == "off";
}

void PunchHole(const Device& device, std::vector<Requirement>* requirements) {
    const DeviceFeature* feature = device.FindFeature("PunchHole");
    requirements->push_back(Check("feature PunchHole (the hole count)", feature, true,
                                  feature ? feature->place : device.source,
                                  "the device has no PunchHole feature: every job gets 0 holes"));
    if (!feature)
        return;
    bool anyCounted = false;
    for (const DeviceOption& option : feature->options) {
        const bool counted = std::find(CountedHoles.begin(), CountedHoles.end(), option.keyword) !=
                             CountedHoles.end();
        anyCounted = anyCounted || counted;
        if (counted || MeansNone(option.keyword))
            continue;
        std::string nearest = NearestMatch(option.keyword, CountedHoles);
        requirements->push_back(
            Check("PunchHole option " + option.keyword, false, true, feature->place,
                  "PunchHole option " + option.keyword +
                      " gives 0 holes: the plug-in counts only 2Holes, 3Holes and 4Holes, compared "
                      "byte for byte" +
                      (nearest.empty() ? "" : " (did you mean " + nearest + "?)")));
    }
    requirements->push_back(
        Check("a PunchHole option the plug-in counts (2Holes, 3Holes or 4Holes)", anyCounted, true,
              feature->place,
              "PunchHole offers none of 2Holes, 3Holes and 4Holes (its "
              "options: " +
                  Keywords(*feature) + "): every job gets 0 holes"));
}

void Punch(const Device& device, std::vector<Requirement>* requirements) {
    const DeviceFeature* feature = device.FindFeature("Punch");
    requirements->push_back(Check("feature Punch (where holes are punched)", feature, false,
                                  feature ? feature->place : device.source,
                                  "the device has no Punch feature: the hole count is never "
                                  "turned off through it"));
    if (!feature)
        return;
    std::vector<std::string> keywords;
    for (const DeviceOption& option : feature->options)
        keywords.push_back(option.keyword);
    std::string nearest = NearestMatch("NONE", keywords);
    requirements->push_back(Check("Punch option NONE (turns punching off)",
                                  FindOption(*feature, "NONE"), !nearest.empty(), feature->place,
                                  "Punch has no option NONE" +
                                      (nearest.empty() ? std::string()
                                                       : ": " + nearest +
                                                             " is not NONE to the plug-in, which "
                                                             "compares byte for byte") +
                                      "; no option turns the hole count off"));
}

void OutputBin(const Device& device, std::vector<Requirement>* requirements) {
    const DeviceFeature* feature = device.FindFeature("OutputBin");
    requirements->push_back(Check("feature OutputBin (psk:JobOutputBin)", feature, false,
                                  feature ? feature->place : device.source,
                                  "the device has no OutputBin feature: no bin gets a bin type"));
    if (!feature)
        return;
    for (const char* bin : {"Center", "Finisher"})
        requirements->push_back(Check(std::string("OutputBin option ") + bin,
                                      FindOption(*feature, bin), false, feature->place,
                                      std::string("OutputBin has no option ") + bin +
                                          " (its options: " + Keywords(*feature) +
                                          "): no bin gets its bin type"));
}

void PresentationDirection(const Device& device, std::vector<Requirement>* requirements) {
    const DeviceFeature* feature = device.FindFeature("JobPresentationDirection");
    requirements->push_back(Check(
        "feature JobPresentationDirection", feature, true, feature ? feature->place : device.source,
        "the device has no JobPresentationDirection feature: the core driver writes no "
        "private presentation direction, and ticket and capabilities fail without it"));
    if (feature)
        requirements->push_back(Check(
            "JobPresentationDirection without *PrintSchemaKeywordMap", feature->keywordMap.empty(),
            true, feature->place,
            "JobPresentationDirection is mapped to \"" + feature->keywordMap +
                "\": the core driver would write it under that public name, not in the private "
                "namespace where the plug-in looks for it"));
}
} // namespace

std::vector<Requirement> ReadDeviceRequirements(const Device& device,
                                                const std::string& pluginNamespace) {
    std::vector<Requirement> requirements;
    requirements.push_back(Check(
        "*PrintSchemaPrivateNamespaceURI " + pluginNamespace + " (the plug-in's, from BindPrinter)",
        device.privateNamespace == pluginNamespace, true, device.source,
        device.privateNamespace.empty()
            ? "the device declares no *PrintSchemaPrivateNamespaceURI"
            : "the device's private namespace is " + device.privateNamespace +
                  ": the core driver would name its private features there, where the plug-in "
                  "does not look"));
    PresentationDirection(device, &requirements);
    OutputBin(device, &requirements);
    Punch(device, &requirements);
    PunchHole(device, &requirements);
    return requirements;
}

} // namespace ptbridge
