#include "cli_commands.h"

#include "conversion_diagnosis.h"
#include "device_options.h"
#include "host_session.h"
#include "hresult_names.h"
#include "platform_seams.h"
#include "prefixed_search_check.h"
#include "pretty_xml.h"
#include "print_schema_names.h"
#include "sample_documents.h"
#include "text_encoding.h"
#include "xml_diff.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace ptbridge {

namespace {
void Print(const std::string& text) {
    WriteStandardOutput(text);
}

// Opens a session with the chosen module; on failure reports it and gives the
// exit code.
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

// The device's features and their options, one feature a line, the first
// line after `label` and the others indented to match.
std::string DeviceOptionLines(const std::string& label) {
    std::string lines;
    for (const DeviceFeature& feature : DeviceFeatures()) {
        std::string options;
        for (const std::string& option : feature.options)
            options += (options.empty() ? "" : ", ") + option;
        lines += (lines.empty() ? label : std::string(label.size(), ' ')) + feature.keyword + ": " +
                 options + " (" + feature.meaning + ")\n";
    }
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
    const char* noColour = std::getenv("NO_COLOR");
    const char* terminal = std::getenv("TERM");
    if ((noColour && *noColour) || (terminal && std::string(terminal) == "dumb"))
        return false;
    return StdoutShowsColours();
}

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

// Loads the input document, read once; its text stays in *text, to explain a
// failed conversion.
bool LoadInput(Conversion conversion, const CommandSettings& settings,
               ComPtr<IXMLDOMDocument2>* document, std::string* text, std::string* label,
               std::string* error) {
    const std::string& file = settings.inputFile;
    if (file.empty()) {
        const SampleDocument& sample = DefaultSample(conversion);
        *text = sample.text;
        *label = sample.name;
        return ParseDocument(*text, *label, settings.preserveWhiteSpace, document, error);
    }
    *label = file == "-" ? "standard input" : file;
    InputLoad load =
        LoadInputDocument(file, *label, settings.preserveWhiteSpace, document, text, error);
    if (load == InputLoad::NotADocument && IsBlank(*text))
        *error = *label + " is empty: there is no document to convert";
    return load == InputLoad::Loaded;
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
    HostSession session;
    int status = OpenSession(settings, &session);
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
    report += DeviceOptionLines("device options:       ");
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
    std::vector<OptionSelection> selections;
    if (!ParseDeviceOptions(settings.options, &selections, &error)) {
        ReportError(error);
        return ExitUsageOrInput;
    }

    Clock::time_point loadStart = Clock::now();
    std::string text;
    std::string label;
    ComPtr<IXMLDOMDocument2> document;
    if (!LoadInput(conversion, settings, &document, &text, &label, &error) ||
        !CheckRootElement(conversion, document.Get(), label, &error)) {
        ReportError(error);
        return ExitUsageOrInput;
    }
    Clock::duration loadTime = Clock::now() - loadStart;

    HostSession session;
    int status = OpenSession(settings, &session);
    if (status != ExitSuccess)
        return status;
    HostDevmode devmode;
    HRESULT hr = HostDevmode::Build(selections, session.PluginSectionSize(), &devmode);
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
        Print(DocumentDiff(std::move(before), std::move(after), label + " (before)", afterLabel,
                           ColourWanted(settings.colour)));
    }
    return status;
}

} // namespace ptbridge
