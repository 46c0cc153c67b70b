#include "cli_commands.h"

#include "conversion_diagnosis.h"
#include "device_file.h"
#include "device_options.h"
#include "host_session.h"
#include "hresult_names.h"
#include "input_document.h"
#include "platform_seams.h"
#include "prefixed_search_check.h"
#include "pretty_xml.h"
#include "print_schema_names.h"
#include "private_namespace.h"
#include "sample_documents.h"
#include "text_encoding.h"
#include "xml_diff.h"

#include <chrono>
#include <cstdio>
#include <utility>

namespace ptbridge {

namespace {
void Print(const std::string& text) {
    WriteStandardOutput(text);
}
} // namespace

int OpenSession(const CommandSettings& settings, HostSession* session) {
    std::string path = settings.pluginPath.empty() ? DefaultModulePath() : settings.pluginPath;
    std::string error;
    switch (session->Open(path, &error)) {
    case OpenStatus::Opened:
        return ExitSuccess;
    case OpenStatus::ModuleUnavailable:
        ReportError(error);
        return ExitModuleUnavailable;
    case OpenStatus::PluginFailed:
        break;
    }
    ReportError("plug-in set-up failed: " + error);
    return ExitPluginFailed;
}

int OpenDeviceAndSession(const CommandSettings& settings, Device* device, HostSession* session) {
    std::string error;
    if (!LoadDevice(settings.deviceFile, device, &error)) {
        ReportError(error);
        return ExitUsageOrInput;
    }
    return OpenSession(settings, session);
}

std::string PluginNamespace(const HostSession& session) {
    const std::vector<std::u16string>& namespaces = session.Identity().namespaces;
    return namespaces.empty() ? "" : Utf8FromUtf16(namespaces.front());
}

namespace {

std::string Hex32(DWORD value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

// The signature's four bytes in memory order, as text where they are printable.
std::string SignatureText(DWORD signature) {
    std::string text;
    for (int shift = 0; shift < 32; shift += 8) {
        char byte = static_cast<char>((signature >> shift) & 0xFF);
        text += (byte >= 0x20 && byte < 0x7F) ? byte : '.';
    }
    return text;
}

std::string HelperInterfaces(DWORD requested) {
    std::string names;
    if (requested & OEMPUBLISH_IPRINTCOREHELPER)
        names = "IPrintCoreHelper";
    if (requested & ~static_cast<DWORD>(OEMPUBLISH_IPRINTCOREHELPER))
        names += names.empty() ? "unknown" : ", unknown";
    return Hex32(requested) + (names.empty() ? "" : " (" + names + ")");
}

std::string HexBytes(const std::vector<BYTE>& bytes) {
    std::string text;
    for (BYTE byte : bytes) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02x", byte);
        text += text.empty() ? "" : " ";
        text += pair;
    }
    return text;
}

// Lines after `label`, the first beside it and the others indented to match.
std::string LabelledLines(const std::string& label, const std::vector<std::string>& items) {
    std::string lines;
    for (const std::string& item : items)
        lines += (lines.empty() ? label : std::string(label.size(), ' ')) + item + "\n";
    return lines.empty() ? label + "none\n" : lines;
}

// The device: where it came from, its private namespace and its features, one
// a line with its options, the default marked.
std::string DeviceLines(const Device& device, const std::string& pluginNamespace) {
    std::string lines = "device:               " + device.source + "\n";
    lines += "device namespace:     " +
             (device.privateNamespace.empty() ? "none" : device.privateNamespace) + "\n";
    if (device.privateNamespace != pluginNamespace)
        lines += "                      warning: BindPrinter reports " + pluginNamespace +
                 "; the core driver would name the device's private features where the "
                 "plug-in does not look\n";
    std::vector<std::string> features;
    for (const DeviceFeature& feature : device.features) {
        std::string options;
        for (const DeviceOption& option : feature.options)
            options += (options.empty() ? "" : ", ") + option.keyword +
                       (option.keyword == feature.defaultOption ? " (default)" : "");
        std::string mapped = feature.keywordMap.empty() ? "" : " (" + feature.keywordMap + ")";
        features.push_back(feature.keyword + mapped + ": " + options);
    }
    lines += LabelledLines("device features:      ", features);
    if (!device.warnings.empty())
        lines += LabelledLines("device warnings:      ", device.warnings);
    return lines;
}

const SampleDocument& DefaultSample(Conversion conversion) {
    switch (conversion) {
    case Conversion::CompleteCapabilities:
        return SampleCapabilities();
    case Conversion::PrintTicketToDevMode:
        return SampleClientTicket();
    case Conversion::DevModeToPrintTicket:
        break;
    }
    return SampleTicket();
}

HRESULT Convert(Conversion conversion, HostSession& session, HostDevmode& devmode,
                IXMLDOMDocument2* document) {
    switch (conversion) {
    case Conversion::CompleteCapabilities:
        return session.CompletePrintCapabilities(nullptr, document);
    case Conversion::PrintTicketToDevMode:
        return session.ConvertPrintTicketToDevMode(document, devmode);
    case Conversion::DevModeToPrintTicket:
        break;
    }
    return session.ConvertDevModeToPrintTicket(devmode, document);
}

bool ColourWanted(ColourChoice choice) {
    if (choice != ColourChoice::Auto)
        return choice == ColourChoice::Always;
    if (!EnvironmentVariable("NO_COLOR").empty() || EnvironmentVariable("TERM") == "dumb")
        return false;
    return StdoutShowsColours();
}

// Loads the input document, read once; its text stays in *text, to explain a
// failed conversion. With --private-namespace the plug-in's namespace
// `pluginNamespace` is declared in it where the other driver's was.
bool LoadInput(Conversion conversion, const CommandSettings& settings,
               const std::string& pluginNamespace, ComPtr<IXMLDOMDocument2>* document,
               std::string* text, std::string* label, std::string* error) {
    const std::string& file = settings.inputFile;
    if (file.empty()) {
        const SampleDocument& sample = DefaultSample(conversion);
        *text = sample.text;
        *label = sample.name;
        if (!ParseDocument(*text, *label, settings.preserveWhiteSpace, document, error))
            return false;
    } else {
        *label = file == "-" ? "standard input" : file;
        if (!LoadInputFile(file, *label, settings.preserveWhiteSpace, document, text, error))
            return false;
    }
    return DeclarePluginNamespace(settings.privateNamespace, pluginNamespace, *label,
                                  settings.preserveWhiteSpace, document, text, error);
}

std::u16string ReadName(HRESULT (STDMETHODCALLTYPE IXMLDOMNode::*getter)(BSTR*),
                        IXMLDOMNode* node) {
    UniqueBstr text;
    std::u16string name;
    if ((node->*getter)(text.Put()) == S_OK && text.Get())
        name.assign(reinterpret_cast<const char16_t*>(text.Get()), text.Length());
    return name;
}

// Checks that the document is the kind the conversion takes: its root element
// is PrintTicket or PrintCapabilities in the Print Schema framework namespace.
bool CheckRootElement(Conversion conversion, IXMLDOMDocument2* document, const std::string& label,
                      std::string* error) {
    ComPtr<IXMLDOMElement> root;
    if (document->get_documentElement(root.Put()) != S_OK || !root) {
        *error = label + ": the document has no root element";
        return false;
    }
    std::u16string uri = ReadName(&IXMLDOMNode::get_namespaceURI, root.Get());
    std::u16string local = ReadName(&IXMLDOMNode::get_baseName, root.Get());
    std::string expected = RootElementName(conversion);
    if (uri == FrameworkNamespace && Utf8FromUtf16(local) == expected)
        return true;
    std::string found = "<" + Utf8FromUtf16(ReadName(&IXMLDOMNode::get_nodeName, root.Get())) + ">";
    if (uri != FrameworkNamespace)
        found += uri.empty() ? " in no namespace" : " in namespace " + Utf8FromUtf16(uri);
    *error = label + ": the root element is " + found + "; the " + CommandName(conversion) +
             " command takes a " + expected + " in namespace " + Utf8FromUtf16(FrameworkNamespace);
    return false;
}

// Says why the plug-in failed: the first part of the unconverted document that
// its rules need and do not find. The converted document holds the edits made
// before the failure, so the text is parsed afresh for the check, loaded as
// the plug-in's document was so that both read the same text.
// On a DOM that cannot run prefixed searches, a document with a framework
// prefix fails for that reason alone.
std::string ExplainFailure(Conversion conversion, const std::string& text, bool preserveWhiteSpace,
                           const std::u16string& privateNamespace, bool prefixedSearches) {
    ComPtr<IXMLDOMDocument2> pristine;
    std::string error;
    if (!ParseDocument(text, "", preserveWhiteSpace, &pristine, &error))
        return {};
    std::string limitation = prefixedSearches ? "" : PrefixedSearchLimitation(pristine.Get());
    if (!limitation.empty())
        return limitation;
    std::string missing = FindMissingPart(conversion, pristine.Get(), privateNamespace);
    return missing.empty() ? "the document holds everything the plug-in's rules look for" : missing;
}

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

std::string TimesReport(Conversion conversion, Clock::duration load, Clock::duration convert,
                        Clock::duration save) {
    double whole = Milliseconds(load + convert + save);
    char line[256];
    std::snprintf(line, sizeof line,
                  "time: load %.3f ms, %s %.3f ms, save %.3f ms; the conversion is %.1f%% of "
                  "the %.3f ms these took\n",
                  Milliseconds(load), MethodName(conversion), Milliseconds(convert),
                  Milliseconds(save), whole > 0 ? 100.0 * Milliseconds(convert) / whole : 0.0,
                  whole);
    return std::string("ptbridge: ") + line;
}

// What ConvertPrintTicketToDevMode will restore in `document` and what it
// cannot, and why: one line for each rule.
std::vector<std::string> RestoreReport(IXMLDOMDocument2* document, const HostSession& session) {
    const std::u16string privateNamespace =
        session.Identity().namespaces.empty() ? u"" : session.Identity().namespaces.front();
    SchemaReader reader(document, nullptr);
    if (!reader.Open())
        return {"nothing restored: the document's root element and namespaces could not be read"};
    std::vector<std::string> lines;
    for (const RuleReading& rule :
         ReadConversion(Conversion::PrintTicketToDevMode, reader, privateNamespace).rules) {
        if (const Requirement* missing = rule.FirstMissing())
            lines.push_back("did not restore " + rule.subject + ": " + missing->missing);
        else
            lines.push_back("restored " + rule.subject + ": " + rule.task);
    }
    return lines;
}
} // namespace

void ReportError(const std::string& message) {
    // Every error is one line: line breaks inside a message (libxml2 describes
    // undecodable input on two) become blanks, and other control characters,
    // which could drive the terminal, become '?'.
    std::string line = message;
    for (char& c : line) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte == '\n' || byte == '\r' || byte == '\t')
            c = ' ';
        else if (byte < 0x20 || byte == 0x7F)
            c = '?';
    }
    std::fprintf(stderr, "ptbridge: %s\n", line.c_str());
}

std::string DefaultSampleDescription(Conversion conversion) {
    switch (conversion) {
    case Conversion::CompleteCapabilities:
        return "capabilities.xml, the device's PrintCapabilities";
    case Conversion::PrintTicketToDevMode:
        return "client_ticket.xml, a PrintTicket as an application hands it back";
    case Conversion::DevModeToPrintTicket:
        break;
    }
    return "ticket.xml, a PrintTicket as the core driver writes it from a DEVMODE";
}

int RunInfo(const CommandSettings& settings) {
    Device device;
    HostSession session;
    int status = OpenDeviceAndSession(settings, &device, &session);
    if (status != ExitSuccess)
        return status;
    const PluginIdentity& identity = session.Identity();
    std::string versions;
    for (INT version : identity.supportedVersions)
        versions += (versions.empty() ? "" : ", ") + std::to_string(version);
    std::string namespaces;
    for (const std::u16string& uri : identity.namespaces)
        namespaces += (namespaces.empty() ? "" : " ") + Utf8FromUtf16(uri);

    std::string report;
    report += "module:               " + session.ModulePath() + "\n";
    report += "signature:            \"" + SignatureText(identity.signature) + "\" (" +
              Hex32(identity.signature) + ")\n";
    report += "version:              " + std::to_string(identity.version) + "\n";
    report +=
        "helper interfaces:    " + HelperInterfaces(identity.requestedHelperInterfaces) + "\n";
    report += "supported versions:   " + versions + "\n";
    report += "private namespace:    " + namespaces + "\n";
    report +=
        "devmode section size: " + std::to_string(identity.defaultSection.size()) + " bytes\n";
    report += "default section:      " + HexBytes(identity.defaultSection) + "\n";
    report += DeviceLines(device, PluginNamespace(session));
    Print(report);
    return ExitSuccess;
}

int RunVersion(const CommandSettings& settings) {
    Print("ptbridge " PTBRIDGE_VERSION "\n");
    // The version line comes before any error, also when both streams go to one file.
    std::fflush(stdout);
    HostSession session;
    int status = OpenSession(settings, &session);
    if (status != ExitSuccess)
        return status;
    const PluginIdentity& identity = session.Identity();
    Print("plug-in module " + session.ModulePath() + ": signature \"" +
          SignatureText(identity.signature) + "\" (" + Hex32(identity.signature) + "), version " +
          std::to_string(identity.version) + "\n");
    return ExitSuccess;
}

int RunConversion(Conversion conversion, const CommandSettings& settings) {
    std::string error;
    Device device;
    std::vector<OptionSelection> selections;
    if (!LoadDevice(settings.deviceFile, &device, &error) ||
        !ParseDeviceOptions(device, settings.options, &selections, &error)) {
        ReportError(error);
        return ExitUsageOrInput;
    }
    // The built-in device's warnings (the system's StdNames.gpd is not there)
    // are for info and check; a device the user names is reported on every use.
    if (!settings.deviceFile.empty())
        ReportDeviceWarnings(device);

    HostSession session;
    int status = ExitSuccess;
    // Declaring the plug-in's namespace in the document needs the plug-in.
    if (!settings.privateNamespace.empty() &&
        (status = OpenSession(settings, &session)) != ExitSuccess)
        return status;
    const std::string pluginNamespace = PluginNamespace(session);

    Clock::time_point loadStart = Clock::now();
    std::string text;
    std::string label;
    ComPtr<IXMLDOMDocument2> document;
    if (!LoadInput(conversion, settings, pluginNamespace, &document, &text, &label, &error) ||
        !CheckRootElement(conversion, document.Get(), label, &error)) {
        ReportError(error);
        return ExitUsageOrInput;
    }
    Clock::duration loadTime = Clock::now() - loadStart;

    if (settings.privateNamespace.empty() &&
        (status = OpenSession(settings, &session)) != ExitSuccess)
        return status;
    HostDevmode devmode;
    HRESULT hr = HostDevmode::Build(DevmodeSelections(device, selections),
                                    session.PluginSectionSize(), &devmode);
    if (hr != S_OK) {
        ReportError("the --option selections do not fit in a DEVMODE");
        return ExitUsageOrInput;
    }
    hr = session.WriteDefaultPluginSection(devmode);
    if (hr != S_OK) {
        ReportError("IPrintOemUI2::DevMode(OEMDM_DEFAULT) returned " + DescribeHResult(hr));
        return ExitPluginFailed;
    }

    std::string before;
    if (settings.diff && !SerializeDocument(document.Get(), &before, &error)) {
        ReportError(error);
        return ExitUsageOrInput;
    }
    // The plug-in answers S_OK whatever it restored: what it will do is read
    // from the document before it does it.
    std::vector<std::string> restoreReport;
    if (conversion == Conversion::PrintTicketToDevMode)
        restoreReport = RestoreReport(document.Get(), session);
    const bool prefixedSearches = DomFindsPrefixedTagNames();
    Clock::time_point convertStart = Clock::now();
    hr = Convert(conversion, session, devmode, document.Get());
    Clock::duration convertTime = Clock::now() - convertStart;
    const bool converted = hr == S_OK;
    if (converted)
        std::string().swap(text);

    Clock::time_point saveStart = Clock::now();
    std::string after;
    const bool saved = SerializeDocument(document.Get(), &after, &error);
    if (saved && !settings.privateNamespace.empty()) {
        after = RestoreTheirNamespace(after, settings.privateNamespace, pluginNamespace);
        before = RestoreTheirNamespace(before, settings.privateNamespace, pluginNamespace);
    }
    Clock::duration saveTime = Clock::now() - saveStart;
    // The converted tree is let go of before the output is laid out again and
    // before a failure is explained, which parses the input text once more:
    // both need memory the tree would otherwise still hold.
    document.Reset();
    // A document loaded without its white space would otherwise be written with
    // little or no layout: it is written one element per line instead.
    if (saved && !settings.preserveWhiteSpace) {
        Clock::time_point layoutStart = Clock::now();
        after = PrettyPrintXml(after);
        saveTime += Clock::now() - layoutStart;
    }
    for (const std::string& line : restoreReport)
        ReportError(line);
    if (!converted) {
        const std::u16string privateNamespace =
            session.Identity().namespaces.empty() ? u"" : session.Identity().namespaces.front();
        std::string explanation = ExplainFailure(conversion, text, settings.preserveWhiteSpace,
                                                 privateNamespace, prefixedSearches);
        ReportError(std::string(MethodName(conversion)) + " returned " + DescribeHResult(hr) +
                    ": " + explanation);
        status = ExitPluginFailed;
    }
    std::string().swap(text);
    if (!saved) {
        ReportError(error);
        return ExitUsageOrInput;
    }
    if (settings.time)
        std::fputs(TimesReport(conversion, loadTime, convertTime, saveTime).c_str(), stderr);

    const bool toStdout = settings.outputFile.empty() || settings.outputFile == "-";
    if ((converted || settings.keepPartial) && !(toStdout && settings.diff)) {
        if (toStdout)
            Print(after);
        else if (!WriteOutputFile(settings.outputFile, after, &error)) {
            ReportError(error);
            return ExitUsageOrInput;
        }
    }
    if (settings.diff) {
        std::string afterLabel =
            label + " (after " + MethodName(conversion) + (converted ? "" : ", which failed") + ")";
        std::string diff = DocumentDiff(std::move(before), std::move(after), label + " (before)",
                                        afterLabel, ColourWanted(settings.colour));
        Print(diff.empty() ? std::string("no change: ") + MethodName(conversion) +
                                 " left the document as it was\n"
                           : diff);
    }
    return status;
}

} // namespace ptbridge
