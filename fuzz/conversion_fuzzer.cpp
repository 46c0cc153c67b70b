// libFuzzer target for the three conversions. An input is a Print Schema
// document, optionally preceded by a header and a NUL byte: header lines
// "Feature=Option" select device options in the DEVMODE, and a line
// "#fail=K" makes the K-th platform call of each conversion fail. Input that
// does not parse is skipped. Each conversion runs over its own copy of the
// document; afterwards the document must save as well-formed XML, the result
// must be one the conversion can give, and every DOM object, BSTR, task-memory
// block and core-helper reference taken must have been given back.
#include "core_helper.h"
#include "document_checks.h"
#include "host_devmode.h"
#include "msxml_standin.h"
#include "platform_testing.h"
#include "plugin/print_ticket_provider.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace ptbridge {

namespace {
constexpr DWORD PluginSectionSize = 12;

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "ptbridge_fuzz: %s\n", what.c_str());
    std::abort();
}

struct Header {
    std::vector<OptionSelection> options;
    LONG failingCall = 0; // 0: no call fails
};

Header ReadHeader(const std::string& text) {
    Header header;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        if (line.compare(0, 6, "#fail=") == 0)
            header.failingCall = std::atol(line.c_str() + 6) & 0xFFFF;
        else
            header.options.push_back({line.substr(0, equals), line.substr(equals + 1)});
    }
    return header;
}

// The provider and host object shared by every input, as one printer's are.
struct Plugin {
    Plugin() : coreHelper(HostCoreHelper::Create()), provider(new PrintTicketProvider) {
        if (!coreHelper ||
            provider->PublishDriverInterface(static_cast<IPrintCoreHelper*>(coreHelper)) != S_OK)
            Fail("cannot set up the provider");
    }

    ULONG CoreHelperReferences() const {
        coreHelper->AddRef();
        return coreHelper->Release();
    }

    HostCoreHelper* coreHelper;
    PrintTicketProvider* provider;
};

enum class Method { Ticket, Devmode, Capabilities };

HRESULT Convert(Plugin& plugin, Method method, HostDevmode& devmode, IXMLDOMDocument2* document) {
    switch (method) {
    case Method::Devmode:
        return plugin.provider->ConvertPrintTicketToDevMode(
            document, devmode.Size(), devmode.Devmode(), devmode.PluginSectionSize(),
            devmode.PluginSection());
    case Method::Capabilities:
        return plugin.provider->CompletePrintCapabilities(nullptr, document);
    case Method::Ticket:
        break;
    }
    return plugin.provider->ConvertDevModeToPrintTicket(devmode.Size(), devmode.Devmode(),
                                                        devmode.PluginSectionSize(),
                                                        devmode.PluginSection(), document);
}

// Runs the methods in turn over one copy of `source` and checks the outcome.
void ConvertCopy(Plugin& plugin, IXMLDOMDocument2* source, HostDevmode& devmode, LONG failingCall,
                 std::initializer_list<Method> methods) {
    const LONG domObjects = LiveDomObjectCount();
    const LONG bstrs = PlatformLiveBstrCount();
    const LONG taskMemory = PlatformLiveTaskMemCount();
    const ULONG references = plugin.CoreHelperReferences();

    IXMLDOMDocument2* copy = nullptr;
    if (CopyDocument(source, &copy) != S_OK)
        Fail("cannot copy the document");
    for (Method method : methods) {
        PlatformInjectFault(failingCall, PlatformFaultAll, E_OUTOFMEMORY);
        HRESULT result = Convert(plugin, method, devmode, copy);
        PlatformInjectFault(0, 0, S_OK);
        bool allowed =
            result == S_OK || result == E_FAIL || (failingCall != 0 && result == E_OUTOFMEMORY);
        if (!allowed || (method == Method::Devmode && failingCall == 0 && result != S_OK))
            Fail("unexpected result " + std::to_string(result));
        std::string saved;
        std::string problem;
        if (SaveDocumentToString(copy, &saved) != S_OK)
            Fail("the converted document cannot be saved");
        if (!IsWellFormedXml(saved, &problem))
            Fail("the converted document is malformed: " + problem + "\n" + saved);
    }
    copy->Release();

    if (LiveDomObjectCount() != domObjects)
        Fail("DOM objects left alive");
    if (PlatformLiveBstrCount() != bstrs)
        Fail("BSTRs left alive");
    if (PlatformLiveTaskMemCount() != taskMemory)
        Fail("task memory left alive");
    if (plugin.CoreHelperReferences() != references)
        Fail("core helper references unbalanced");
}
} // namespace

} // namespace ptbridge

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace ptbridge;
    static Plugin plugin;
    std::string input(reinterpret_cast<const char*>(data), size);
    size_t split = input.find('\0');
    Header header = ReadHeader(split == std::string::npos ? "" : input.substr(0, split));
    std::string xml = split == std::string::npos ? input : input.substr(split + 1);

    IXMLDOMDocument2* document = nullptr;
    if (LoadDocumentFromString(xml, &document, nullptr) != S_OK)
        return -1;
    HostDevmode devmode;
    if (HostDevmode::Build(header.options, PluginSectionSize, &devmode) != S_OK &&
        HostDevmode::Build({}, PluginSectionSize, &devmode) != S_OK)
        Fail("cannot build a DEVMODE");

    // Publishing and then restoring is the round trip a ticket makes.
    ConvertCopy(plugin, document, devmode, header.failingCall, {Method::Ticket, Method::Devmode});
    ConvertCopy(plugin, document, devmode, header.failingCall, {Method::Capabilities});
    ConvertCopy(plugin, document, devmode, header.failingCall, {Method::Devmode});
    document->Release();
    return 0;
}
