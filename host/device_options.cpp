#include "device_options.h"

#include "near_match.h"

#include <algorithm>
#include <string>
#include <vector>

namespace ptbridge {

namespace {
std::string Listed(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : ", ") + word;
    return text;
}

std::string UnknownWord(const std::string& what, const std::string& word,
                        const std::vector<std::string>& valid) {
    std::string message = "unknown " + what + " '" + word + "'";
    std::string nearest = NearestMatch(word, valid);
    if (!nearest.empty())
        message += " (did you mean '" + nearest + "'?)";
    return message + "; valid: " + Listed(valid);
}
} // namespace

bool ParseDeviceOptions(const Device& device, const std::vector<std::string>& arguments,
                        std::vector<OptionSelection>* selections, std::string* error) {
    std::vector<std::string> featureKeywords;
    for (const DeviceFeature& feature : device.features)
        featureKeywords.push_back(feature.keyword);

    for (const std::string& argument : arguments) {
        size_t equals = argument.find('=');
        if (equals == std::string::npos || equals == 0 || equals + 1 == argument.size()) {
            *error = "--option '" + argument + "' is not of the form Feature=Option";
            return false;
        }
        std::string keyword = argument.substr(0, equals);
        std::string option = argument.substr(equals + 1);
        const DeviceFeature* feature = device.FindFeature(keyword);
        if (!feature) {
            *error =
                "--option '" + argument + "': " + UnknownWord("feature", keyword, featureKeywords);
            return false;
        }
        std::vector<std::string> optionKeywords;
        for (const DeviceOption& offered : feature->options)
            optionKeywords.push_back(offered.keyword);
        if (std::find(optionKeywords.begin(), optionKeywords.end(), option) ==
            optionKeywords.end()) {
            *error = "--option '" + argument +
                     "': " + UnknownWord(keyword + " option", option, optionKeywords);
            return false;
        }
        for (const OptionSelection& earlier : *selections) {
            if (earlier.feature == keyword) {
                *error = "--option '" + argument + "': " + keyword + " is already set to '" +
                         earlier.option + "'";
                return false;
            }
        }
        selections->push_back({keyword, option});
    }
    return true;
}

std::vector<OptionSelection> DevmodeSelections(const Device& device,
                                               const std::vector<OptionSelection>& chosen) {
    std::vector<OptionSelection> selections;
    for (const DeviceFeature& feature : device.features) {
        if (feature.defaultOption.empty())
            continue;
        OptionSelection selection{feature.keyword, feature.defaultOption};
        for (const OptionSelection& choice : chosen) {
            if (choice.feature == feature.keyword)
                selection.option = choice.option;
        }
        selections.push_back(selection);
    }
    return selections;
}

} // namespace ptbridge
