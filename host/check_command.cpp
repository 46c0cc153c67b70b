#include "check_command.h"

#include "conversion_diagnosis.h"
#include "device.h"
#include "device_requirements.h"
#include "host_session.h"
#include "hresult_names.h"
#include "input_document.h"
#include "matching_warnings.h"
#include "platform_seams.h"
#include "print_schema_names.h"
#include "text_encoding.h"

#include <cstdio>
#include <string>
#include <vector>

namespace ptbridge {

namespace {
// What check found in one document.
struct DocumentCheck {
    std::string label;
    std::string error; // the document could not be used
    std::string root;  // "PrintTicket" or "PrintCapabilities"
    std::vector<ConversionReading> conversions;
    std::vector<Finding> warnings;
    std::vector<Finding> suggestions;

    // Ready: every needed requirement of one of the conversions is met.
    bool Ready() const {
        for (const ConversionReading& conversion : conversions) {
            if (conversion.AllMet())
                return true;
        }
        return false;
    }
};

bool DeviceReady(const std::vector<Requirement>& requirements) {
    for (const Requirement& requirement : requirements) {
        if (requirement.needed && !requirement.met)
            return false;
    }
    return true;
}

std::string RootName(IXMLDOMDocument2* document) {
    ComPtr<IXMLDOMElement> root;
    UniqueBstr uri;
    UniqueBstr local;
    if (document->get_documentElement(root.Put()) != S_OK || !root ||
        root->get_namespaceURI(uri.Put()) != S_OK || root->get_baseName(local.Put()) != S_OK ||
        !uri.Get() || !local.Get())
        return {};
    std::u16string ns(reinterpret_cast<const char16_t*>(uri.Get()), uri.Length());
    std::u16string name(reinterpret_cast<const char16_t*>(local.Get()), local.Length());
    return ns == FrameworkNamespace ? Utf8FromUtf16(name) : "";
}

std::vector<Conversion> ConversionsFor(const std::string& root, const std::string& command) {
    std::vector<Conversion> applying;
    if (root == "PrintCapabilities")
        applying = {Conversion::CompleteCapabilities};
    else if (root == "PrintTicket")
        applying = {Conversion::DevModeToPrintTicket, Conversion::PrintTicketToDevMode};
    std::vector<Conversion> chosen;
    for (Conversion conversion : applying) {
        if (command.empty() || command == CommandName(conversion))
            chosen.push_back(conversion);
    }
    return chosen;
}

DocumentCheck CheckDocument(const std::string& file, const CheckSettings& check,
                            const CommandSettings& settings, const std::string& pluginNamespace) {
    DocumentCheck result;
    result.label = file == "-" ? "standard input" : file;
    std::string text;
    std::string error;
    ComPtr<IXMLDOMDocument2> document;
    if (!LoadInputFile(file, result.label, settings.preserveWhiteSpace, &document, &text, &error) ||
        !DeclarePluginNamespace(settings.privateNamespace, pluginNamespace, result.label,
                                settings.preserveWhiteSpace, &document, &text, &error)) {
        result.error = error;
        return result;
    }
    result.root = RootName(document.Get());
    std::vector<Conversion> conversions = ConversionsFor(result.root, check.command);
    if (conversions.empty()) {
        result.error = result.label + ": " +
                       (result.root.empty() ? "the root element is no Print Schema document"
                                            : "a " + result.root) +
                       (check.command.empty()
                            ? "; check takes a PrintTicket or a PrintCapabilities in namespace " +
                                  Utf8FromUtf16(FrameworkNamespace)
                            : "; the " + check.command + " command takes another kind");
        return result;
    }
    SchemaReader reader(document.Get(), &text);
    if (!reader.Open()) {
        result.error =
            result.label + ": the document's root element and namespaces could not be read";
        return result;
    }
    std::u16string privateNamespace;
    Utf16FromUtf8(pluginNamespace, &privateNamespace);
    bool publishing = false;
    for (Conversion conversion : conversions) {
        result.conversions.push_back(ReadConversion(conversion, reader, privateNamespace));
        publishing = publishing || conversion != Conversion::PrintTicketToDevMode;
    }
    result.warnings =
        ReadMatchingWarnings(reader, privateNamespace, publishing, result.root == "PrintTicket");
    result.suggestions = SuggestPrivateNamespace(reader, privateNamespace);
    return result;
}

// Text report ------------------------------------------------------------------

std::string Mark(const Requirement& requirement) {
    if (requirement.met)
        return "met      ";
    return requirement.needed ? "MISSING  " : "absent   ";
}

std::string Where(const Requirement& requirement) {
    if (!requirement.place.empty())
        return requirement.place + ": ";
    return requirement.line > 0 ? "line " + std::to_string(requirement.line) + ": " : "";
}

std::string RequirementLine(const Requirement& requirement, const std::string& indent) {
    return indent + Mark(requirement) + Where(requirement) + requirement.subject +
           (requirement.met ? "" : ": " + requirement.missing) + "\n";
}

std::string FindingLine(const char* kind, const Finding& finding) {
    return std::string("  ") + kind + ": " +
           (finding.line > 0 ? "line " + std::to_string(finding.line) + ": " : "") + finding.text +
           "\n";
}

std::string TextReport(const DocumentCheck& document) {
    if (!document.error.empty())
        return document.label + ": cannot be checked: " + document.error + "\n";
    std::string text = document.label + ": a " + document.root + ", " +
                       (document.Ready() ? "ready" : "not ready") + "\n";
    for (const ConversionReading& conversion : document.conversions) {
        text += std::string("  ") + CommandName(conversion.conversion) + " (" +
                MethodName(conversion.conversion) + ") would return " +
                DescribeHResult(conversion.Result()) +
                (conversion.AllMet() ? "; every requirement met" : "") + "\n";
        for (const RuleReading& rule : conversion.rules) {
            text += "    " + rule.rule + ", " + rule.subject + ": " + rule.task + "\n";
            for (const Requirement& requirement : rule.requirements)
                text += RequirementLine(requirement, "      ");
        }
    }
    for (const Finding& warning : document.warnings)
        text += FindingLine("warning", warning);
    for (const Finding& suggestion : document.suggestions)
        text += FindingLine("suggestion", suggestion);
    return text;
}

std::string DeviceReport(const Device& device, const std::vector<Requirement>& requirements) {
    std::string text = "device " + device.source + ": " +
                       (DeviceReady(requirements) ? "ready" : "not ready") + "\n";
    for (const Requirement& requirement : requirements)
        text += RequirementLine(requirement, "  ");
    for (const std::string& warning : device.warnings)
        text += "  warning: " + warning + "\n";
    return text;
}

// JSON report ------------------------------------------------------------------

std::string Json(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string JsonBool(bool value) {
    return value ? "true" : "false";
}

template <typename Item, typename Writer>
std::string JsonList(const std::vector<Item>& items, Writer write) {
    std::string text = "[";
    for (const Item& item : items)
        text += (text.size() > 1 ? "," : "") + write(item);
    return text + "]";
}

std::string JsonRequirement(const Requirement& requirement) {
    std::string text = "{\"subject\":" + Json(requirement.subject) +
                       ",\"met\":" + JsonBool(requirement.met) +
                       ",\"needed\":" + JsonBool(requirement.needed);
    if (requirement.line > 0)
        text += ",\"line\":" + std::to_string(requirement.line);
    if (!requirement.place.empty())
        text += ",\"place\":" + Json(requirement.place);
    if (!requirement.met)
        text += ",\"missing\":" + Json(requirement.missing);
    return text + "}";
}

std::string JsonFinding(const Finding& finding) {
    return "{\"line\":" + std::to_string(finding.line) + ",\"text\":" + Json(finding.text) + "}";
}

std::string JsonDevice(const Device& device, const std::vector<Requirement>& requirements) {
    return "{\"source\":" + Json(device.source) +
           ",\"privateNamespace\":" + Json(device.privateNamespace) +
           ",\"ready\":" + JsonBool(DeviceReady(requirements)) +
           ",\"requirements\":" + JsonList(requirements, JsonRequirement) + ",\"warnings\":" +
           JsonList(device.warnings, [](const std::string& w) { return Json(w); }) + "}";
}

std::string JsonReport(const DocumentCheck& document, const std::string& device) {
    std::string text = "{\"file\":" + Json(document.label);
    if (!document.error.empty())
        return text + ",\"error\":" + Json(document.error) + ",\"device\":" + device + "}\n";
    text += ",\"root\":" + Json(document.root) + ",\"ready\":" + JsonBool(document.Ready());
    text +=
        ",\"conversions\":" +
        JsonList(document.conversions, [](const ConversionReading& conversion) {
            char code[16];
            std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(conversion.Result()));
            return "{\"command\":" + Json(std::string(CommandName(conversion.conversion))) +
                   ",\"method\":" + Json(std::string(MethodName(conversion.conversion))) +
                   ",\"result\":" + Json(std::string(code)) +
                   ",\"allMet\":" + JsonBool(conversion.AllMet()) + ",\"rules\":" +
                   JsonList(conversion.rules,
                            [](const RuleReading& rule) {
                                return "{\"rule\":" + Json(rule.rule) +
                                       ",\"subject\":" + Json(rule.subject) +
                                       ",\"task\":" + Json(rule.task) +
                                       ",\"succeeds\":" + JsonBool(rule.Succeeds()) +
                                       ",\"requirements\":" +
                                       JsonList(rule.requirements, JsonRequirement) + "}";
                            }) +
                   "}";
        });
    text += ",\"warnings\":" + JsonList(document.warnings, JsonFinding);
    text += ",\"suggestions\":" + JsonList(document.suggestions, JsonFinding);
    return text + ",\"device\":" + device + "}\n";
}
} // namespace

int RunCheck(const CheckSettings& check, const CommandSettings& settings) {
    Device device;
    HostSession session;
    int status = OpenDeviceAndSession(settings, &device, &session);
    if (status != ExitSuccess)
        return status;
    const std::string pluginNamespace = PluginNamespace(session);
    session.Close();

    const std::vector<Requirement> deviceRequirements =
        ReadDeviceRequirements(device, pluginNamespace);
    bool ready = DeviceReady(deviceRequirements);
    bool unusable = false;
    const std::string deviceJson = JsonDevice(device, deviceRequirements);
    if (!check.json)
        WriteStandardOutput(DeviceReport(device, deviceRequirements));
    else if (check.files.empty())
        WriteStandardOutput("{\"device\":" + deviceJson + "}\n");
    for (const std::string& file : check.files) {
        DocumentCheck document = CheckDocument(file, check, settings, pluginNamespace);
        unusable = unusable || !document.error.empty();
        ready = ready && document.error.empty() && document.Ready();
        WriteStandardOutput(check.json ? JsonReport(document, deviceJson) : TextReport(document));
    }
    if (unusable)
        return ExitUsageOrInput;
    return ready ? ExitSuccess : ExitPluginFailed;
}

} // namespace ptbridge
