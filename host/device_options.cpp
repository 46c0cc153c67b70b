#include "device_options.h"

#include "near_match.h"

#include <algorithm>

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

const DeviceFeature* FindFeature(const std::string& keyword) {
    for (const DeviceFeature& feature : DeviceFeatures()) {
        if (feature.keyword == keyword)
            return &feature;
    }
    return nullptr;
}
} // namespace

const std::vector<DeviceFeature>& DeviceFeatures() {
    static const std::vector<DeviceFeature> features = {
        {"PunchHole", "how many holes are punched", {"None", "2Holes", "3Holes", "4Holes"}},
        {"Punch",
         "where holes are punched; NONE turns punching off",
         {"NONE", "Left", "Right", "Top", "Bottom"}},
    };
    return features;
}

bool ParseDeviceOptions(const std::vector<std::string>& arguments,
                        std::vector<OptionSelection>* selections, std::string* error) {
    std::vector<std::string> featureKeywords;
    for (const DeviceFeature& feature : DeviceFeatures())
        featureKeywords.push_back(feature.keyword);

    for (const std::string& argument : arguments) {
        size_t equals = argument.find('=');
        if (equals == std::string::npos || equals == 0 || equals + 1 == argument.size()) {
            *error = "--option '" + argument + "' is not of the form Feature=Option";
            return false;
        }
        std::string keyword = argument.substr(0, equals);
        std::string option = argument.substr(equals + 1);
        const DeviceFeature* feature = FindFeature(keyword);
        if (!feature) {
            *error =
                "--option '" + argument + "': " + UnknownWord("feature", keyword, featureKeywords);
            return false;
        }
        if (std::find(feature->options.begin(), feature->options.end(), option) ==
            feature->options.end()) {
            *error = "--option '" + argument +
                     "': " + UnknownWord(keyword + " option", option, feature->options);
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

} // namespace ptbridge
