#include "cli_commands.h"

#include "document_io.h"
#include "host_session.h"
#include "hresult_names.h"
#include "module_path.h"
#include "sample_documents.h"
#include "terminal.h"
#include "text_encoding.h"
#include "text_files.h"
#include "xml_diff.h"

#include <cstdio>

namespace {
// Every error is one line: line breaks inside a message (libxml2 describes
// undecodable input on two) become blanks, and other control characters,
// which could drive the terminal, become '?'.
void ReportError(const std::string& message) {
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

void Print(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
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

bool ParseOptions(const std::vector<std::string>& arguments,
                  std::vector<OptionSelection>* selections) {
    for (const std::string& argument : arguments) {
        size_t equals = argument.find('=');
        if (equals == std::string::npos || equals == 0 || equals + 1 == argument.size()) {
            ReportError("--option '" + argument + "' is not of the form Feature=Option");
            return false;
        }
        selections->push_back({argument.substr(0, equals), argument.substr(equals + 1)});
    }
    return true;
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

const char* MethodName(Conversion conversion) {
    switch (conversion) {
    case Conversion::CompleteCapabilities:
        return "CompletePrintCapabilities";
    case Conversion::PrintTicketToDevMode:
        return "ConvertPrintTicketToDevMode";
    case Conversion::DevModeToPrintTicket:
        break;
    }
    return "ConvertDevModeToPrintTicket";
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

} // namespace

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
    Print(report);
    return ExitSuccess;
}

int RunConversion(Conversion conversion, const CommandSettings& settings) {
    std::vector<OptionSelection> selections;
    if (!ParseOptions(settings.options, &selections))
        return ExitUsageOrInput;

    std::string text;
    std::string label;
    std::string error;
    if (settings.inputFile.empty()) {
        const SampleDocument& sample = DefaultSample(conversion);
        text = sample.text;
        label = sample.name;
    } else {
        label = settings.inputFile;
        if (!ReadTextFile(settings.inputFile, &text, &error)) {
            ReportError(error);
            return ExitUsageOrInput;
        }
    }
    ComPtr<IXMLDOMDocument2> document;
    if (!ParseDocument(text, label, &document, &error)) {
        ReportError(error);
        return ExitUsageOrInput;
    }
    // The tree holds the document from here on; a large input need not be
    // kept twice.
    std::string().swap(text);

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
    hr = Convert(conversion, session, devmode, document.Get());
    if (hr != S_OK) {
        ReportError(std::string(MethodName(conversion)) + " returned " + DescribeHResult(hr));
        return ExitPluginFailed;
    }
    std::string after;
    if (!SerializeDocument(document.Get(), &after, &error)) {
        ReportError(error);
        return ExitUsageOrInput;
    }

    if (!settings.outputFile.empty() && !WriteFileAtomically(settings.outputFile, after, &error)) {
        ReportError(error);
        return ExitUsageOrInput;
    }
    // The texts hold all that is left to show.
    document.Reset();
    if (settings.diff)
        Print(DocumentDiff(std::move(before), std::move(after), label + " (before)",
                           label + " (after " + MethodName(conversion) + ")", ColourWanted()));
    else if (settings.outputFile.empty())
        Print(after);
    return ExitSuccess;
}
