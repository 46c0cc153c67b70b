// The GPD reader: snippets of device descriptions, each with the device the
// host reads from it or the one error it gives.
#include "device.h"
#include "device_options.h"
#include "gpd_reader.h"

#include <gtest/gtest.h>

#include <map>

using namespace ptbridge;

namespace {
// The device as one line a feature: "Keyword(map)=Default:Option(map),Option".
std::string Summary(const Device& device) {
    std::string text = "ns=" + device.privateNamespace;
    for (const DeviceFeature& feature : device.features) {
        text += " " + feature.keyword;
        if (!feature.keywordMap.empty())
            text += "(" + feature.keywordMap + ")";
        text += "=" + feature.defaultOption + ":";
        for (size_t i = 0; i < feature.options.size(); ++i) {
            text += (i ? "," : "") + feature.options[i].keyword;
            if (!feature.options[i].keywordMap.empty())
                text += "(" + feature.options[i].keywordMap + ")";
        }
    }
    return text;
}

struct GpdCase {
    const char* what;
    std::string text;
    std::string expected; // the summary, or the error
    std::vector<std::string> warnings = {};
};

// Files that dir/device.gpd can include.
const std::map<std::string, std::string> Files = {
    {"dir/names.gpd", "*Feature: Punch { *DefaultOption: NONE *Option: NONE { } }\n"},
    {"dir/loop.gpd", "*Include: \"loop.gpd\"\n"},
};

bool ReadFromFiles(const std::string& path, std::string* text, std::string* error) {
    auto found = Files.find(path);
    if (found == Files.end()) {
        *error = "cannot read '" + path + "': No such file or directory";
        return false;
    }
    *text = found->second;
    return true;
}

TEST(GpdReaderTest, ReadsTheDeviceOrNamesWhereItIsMalformed) {
    const std::vector<GpdCase> cases = {
        {"features, options, maps and defaults; other entries passed over",
         "*GPDSpecVersion: \"1.0\"\n"
         "*PrintSchemaPrivateNamespaceURI: \"http://example.com/p\" *% the namespace\n"
         "*Feature: OutputBin\n{\n  *rcNameID: =OUTPUTBIN_DISPLAY\n"
         "  *PrintSchemaKeywordMap: \"JobOutputBin\"\n  *DefaultOption: Finisher\n"
         "  *Option: Center { *Name: \"Center {tray}\" }\n"
         "  *Option: Finisher\n  {\n    *PrintSchemaKeywordMap: \"Stacker\"\n  }\n}\n",
         "ns=http://example.com/p OutputBin(JobOutputBin)=Finisher:Center,Finisher(Stacker)"},
        {"nested blocks of other entries are passed over with what they hold",
         "*Feature: PunchHole\n{\n  *DefaultOption: 2Holes\n"
         "  *Switch: Punch { *Case: NONE { *Option: Bogus { } } }\n"
         "  *Option: 2Holes { *Command: CmdSelect { *Cmd: \"}{\" } }\n}\n"
         "*Macros: { X: \"y\" }\n",
         "ns= PunchHole=2Holes:2Holes"},
        {"a feature given again adds its options",
         "*Feature: Punch { *DefaultOption: NONE *Option: NONE { } }\n"
         "*Feature: Punch { *Option: Left { } }\n",
         "ns= Punch=NONE:NONE,Left"},
        {"an include is read beside the including file",
         "*Include: \"names.gpd\"\n*Feature: PunchHole { *DefaultOption: x *Option: x { } }\n",
         "ns= Punch=NONE:NONE PunchHole=x:x"},
        {"an include that is not there is a warning naming it",
         "*Include: \"StdNames.gpd\"\n",
         "ns=",
         {"dir/device.gpd:1: *Include: \"StdNames.gpd\" was skipped: cannot read "
          "'dir/StdNames.gpd': No such file or directory"}},
        {"a feature without a default selects its first option, with a warning",
         "*Feature: Punch\n{\n  *Option: Left { }\n  *Option: NONE { }\n}\n",
         "ns= Punch=Left:Left,NONE",
         {"dir/device.gpd:1: *Feature: Punch has no *DefaultOption; the host selects its first "
          "option, Left"}},
        {"an unclosed block", "*Feature: Punch\n{\n  *Option: NONE { }\n",
         "dir/device.gpd:4: expected '}' to close *Feature: Punch, opened on line 2"},
        {"a brace that closes nothing", "*Feature: Punch { }\n}\n",
         "dir/device.gpd:2: expected an entry: this '}' closes no block"},
        {"an unclosed quoted string", "*PrintSchemaPrivateNamespaceURI: \"http://x\n",
         "dir/device.gpd:1: expected '\"' to close the quoted string before the end of the line"},
        {"an entry without a colon", "*Feature Punch { }\n",
         "dir/device.gpd:1: expected ':' after *Feature"},
        {"text that is no entry", "*Feature: Punch { }\nPunch\n",
         "dir/device.gpd:2: expected an entry \"*Name: value\", '{' or '}', found 'P'"},
        {"a feature without its block", "*Feature: Punch\n*Feature: PunchHole { }\n",
         "dir/device.gpd:2: expected '{' to open the block of *Feature: Punch"},
        {"a feature without a keyword", "*Feature: { }\n",
         "dir/device.gpd:1: expected a feature keyword after *Feature:"},
        {"a default that names no option",
         "*Feature: Punch\n{\n  *DefaultOption: Nope\n  *Option: NONE { }\n}\n",
         "dir/device.gpd:3: expected *DefaultOption to name an option of Punch (NONE), found "
         "'Nope'"},
        {"files that include each other", "*Include: \"loop.gpd\"\n",
         "dir/loop.gpd:1: *Include: \"loop.gpd\" nests includes more than 16 deep: expected "
         "files that do not include each other"},
    };
    for (const GpdCase& gpd : cases) {
        SCOPED_TRACE(gpd.what);
        Device device;
        std::string error;
        bool read = ReadGpd(gpd.text, "dir/device.gpd", ReadFromFiles, &device, &error);
        EXPECT_EQ(read ? Summary(device) : error, gpd.expected);
        if (read) {
            EXPECT_EQ(device.warnings, gpd.warnings);
        }
    }
}

TEST(GpdReaderTest, TheBuiltInDeviceFillsTheDevmodeWithItsDefaults) {
    const Device& device = DefaultDevice();
    EXPECT_EQ(device.privateNamespace, "http://ptbridge.example/printing/2005/08/printticket");
    std::vector<OptionSelection> chosen;
    std::string error;
    ASSERT_TRUE(ParseDeviceOptions(device, {"PunchHole=3Holes"}, &chosen, &error)) << error;
    std::string held;
    for (const OptionSelection& selection : DevmodeSelections(device, chosen))
        held += selection.feature + "=" + selection.option + " ";
    EXPECT_EQ(held, "InputBin=AUTO PaperSize=A4 Resolution=Option1 "
                    "JobPresentationDirection=RightBottom OutputBin=Center Punch=NONE "
                    "PunchHole=3Holes ");
}
} // namespace
