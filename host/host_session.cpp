#include "host_session.h"

#include "hresult_names.h"

namespace ptbridge {

namespace {
// The one interface version this host speaks with a PrintTicket provider.
constexpr INT ProviderInterfaceVersion = 1;
// Largest plug-in section the host accepts: it must fit beside the host's own
// option block in the 65535 bytes of a DEVMODE's driver-private area.
constexpr DWORD MaxPluginSectionSize = 0x8000;

std::string Failure(const char* call, HRESULT hr) {
    return std::string(call) + " returned " + DescribeHResult(hr);
}

std::string FailureWithLastError(const char* call, HRESULT hr) {
    return Failure(call, hr) + ", last error " + std::to_string(GetLastError());
}

// The text of a namespace BSTR, up to its first terminator.
std::u16string NamespaceText(BSTR text) {
    if (!text)
        return {};
    UINT length = SysStringLen(text);
    UINT end = 0;
    while (end < length && text[end] != 0)
        ++end;
    return std::u16string(reinterpret_cast<const char16_t*>(text), end);
}
} // namespace

HostSession::~HostSession() {
    Close();
}

OpenStatus HostSession::Open(const std::string& modulePath, std::string* error) {
    Close();
    if (!module_.Load(modulePath, error))
        return OpenStatus::ModuleUnavailable;
    coreHelper_.Attach(HostCoreHelper::Create());
    if (!coreHelper_) {
        *error = "out of memory";
        Close();
        return OpenStatus::PluginFailed;
    }
    if (!CreatePlugins(error) || !ReadIdentity(error) || !ReadPrivateSection(error) ||
        !PublishHostObject(error) || !BindProvider(error)) {
        Close();
        return OpenStatus::PluginFailed;
    }
    return OpenStatus::Opened;
}

void HostSession::Close() {
    provider_.Reset();
    uiPlugin_.Reset();
    coreHelper_.Reset();
    module_.Unload();
    identity_ = PluginIdentity();
    pluginSectionSize_ = 0;
}

bool HostSession::CreatePlugins(std::string* error) {
    struct Role {
        const CLSID& clsid;
        const IID& iid;
        void** object;
        const char* name;
    };
    const Role roles[] = {
        {CLSID_OEMUI, IID_IPrintOemUI2, uiPlugin_.PutVoid(), "IPrintOemUI2"},
        {CLSID_OEMPTPROVIDER, IID_IPrintOemPrintTicketProvider, provider_.PutVoid(),
         "IPrintOemPrintTicketProvider"},
    };
    for (const Role& role : roles) {
        ComPtr<IClassFactory> factory;
        HRESULT hr = module_.GetClassObject(role.clsid, IID_IClassFactory, factory.PutVoid());
        if (hr != S_OK || !factory) {
            *error = Failure("DllGetClassObject", hr) + " for the " + role.name + " class";
            return false;
        }
        hr = factory->CreateInstance(nullptr, role.iid, role.object);
        if (hr != S_OK || !*role.object) {
            *error = Failure("IClassFactory::CreateInstance", hr) + " for " + role.name;
            return false;
        }
    }
    return true;
}

bool HostSession::ReadIdentity(std::string* error) {
    struct Query {
        DWORD mode;
        const char* call;
        DWORD* value;
    };
    const Query queries[] = {
        {OEMGI_GETSIGNATURE, "IPrintOemUI2::GetInfo(OEMGI_GETSIGNATURE)", &identity_.signature},
        {OEMGI_GETVERSION, "IPrintOemUI2::GetInfo(OEMGI_GETVERSION)", &identity_.version},
        {OEMGI_GETREQUESTEDHELPERINTERFACES,
         "IPrintOemUI2::GetInfo(OEMGI_GETREQUESTEDHELPERINTERFACES)",
         &identity_.requestedHelperInterfaces},
    };
    for (const Query& query : queries) {
        DWORD needed = 0;
        SetLastError(ERROR_SUCCESS);
        HRESULT hr = uiPlugin_->GetInfo(query.mode, query.value, sizeof(DWORD), &needed);
        if (hr != S_OK) {
            *error = FailureWithLastError(query.call, hr);
            return false;
        }
    }
    return true;
}

bool HostSession::ReadPrivateSection(std::string* error) {
    OEMDMPARAM param{};
    param.cbSize = sizeof param;
    param.hPrinter = &printerToken_;
    param.hModule = module_.Handle();
    SetLastError(ERROR_SUCCESS);
    HRESULT hr = uiPlugin_->DevMode(OEMDM_SIZE, &param);
    if (hr != S_OK) {
        *error = FailureWithLastError("IPrintOemUI2::DevMode(OEMDM_SIZE)", hr);
        return false;
    }
    DWORD size = param.cbBufSize;
    if (size < sizeof(OEM_DMEXTRAHEADER) || size > MaxPluginSectionSize) {
        *error = "IPrintOemUI2::DevMode(OEMDM_SIZE) reported a private section of " +
                 std::to_string(size) + " bytes; the host accepts " +
                 std::to_string(sizeof(OEM_DMEXTRAHEADER)) + " to " +
                 std::to_string(MaxPluginSectionSize);
        return false;
    }
    pluginSectionSize_ = size;
    HostDevmode devmode;
    hr = HostDevmode::Build({}, size, &devmode);
    if (hr == S_OK)
        hr = WriteDefaultPluginSection(devmode);
    if (hr != S_OK) {
        *error = FailureWithLastError("IPrintOemUI2::DevMode(OEMDM_DEFAULT)", hr);
        return false;
    }
    identity_.defaultSection.assign(devmode.PluginSection(),
                                    devmode.PluginSection() + devmode.PluginSectionSize());
    return true;
}

bool HostSession::PublishHostObject(std::string* error) {
    IUnknown* hostObject = static_cast<IPrintCoreHelper*>(coreHelper_.Get());
    HRESULT hr = uiPlugin_->PublishDriverInterface(hostObject);
    if (hr != S_OK) {
        *error = Failure("IPrintOemUI2::PublishDriverInterface", hr);
        return false;
    }
    hr = provider_->PublishDriverInterface(hostObject);
    if (hr != S_OK) {
        *error = Failure("IPrintOemPrintTicketProvider::PublishDriverInterface", hr);
        return false;
    }
    return true;
}

bool HostSession::BindProvider(std::string* error) {
    INT* versions = nullptr;
    INT versionCount = 0;
    HRESULT hr = provider_->GetSupportedVersions(&printerToken_, &versions, &versionCount);
    if (hr == S_OK && versions)
        identity_.supportedVersions.assign(versions,
                                           versions + (versionCount > 0 ? versionCount : 0));
    CoTaskMemFree(versions);
    if (hr != S_OK) {
        *error = Failure("IPrintOemPrintTicketProvider::GetSupportedVersions", hr);
        return false;
    }

    OEMPTOPTS options = OEMPT_DEFAULT;
    INT namespaceCount = 0;
    BSTR* namespaces = nullptr;
    hr = provider_->BindPrinter(&printerToken_, ProviderInterfaceVersion, &options, &namespaceCount,
                                &namespaces);
    if (namespaces) {
        for (INT i = 0; i < namespaceCount; ++i) {
            UniqueBstr text(namespaces[i]);
            if (hr == S_OK)
                identity_.namespaces.push_back(NamespaceText(text.Get()));
        }
        CoTaskMemFree(namespaces);
    }
    if (hr != S_OK) {
        *error = Failure("IPrintOemPrintTicketProvider::BindPrinter", hr);
        return false;
    }
    return true;
}

HRESULT HostSession::WriteDefaultPluginSection(HostDevmode& devmode) {
    if (!uiPlugin_)
        return E_UNEXPECTED;
    OEMDMPARAM param{};
    param.cbSize = sizeof param;
    param.hPrinter = &printerToken_;
    param.hModule = module_.Handle();
    param.pPublicDMOut = devmode.Devmode();
    param.pOEMDMOut = devmode.PluginSection();
    param.cbBufSize = devmode.PluginSectionSize();
    return uiPlugin_->DevMode(OEMDM_DEFAULT, &param);
}

HRESULT HostSession::ConvertDevModeToPrintTicket(HostDevmode& devmode, IXMLDOMDocument2* ticket) {
    if (!provider_)
        return E_UNEXPECTED;
    return provider_->ConvertDevModeToPrintTicket(devmode.Size(), devmode.Devmode(),
                                                  devmode.PluginSectionSize(),
                                                  devmode.PluginSection(), ticket);
}

HRESULT HostSession::ConvertPrintTicketToDevMode(IXMLDOMDocument2* ticket, HostDevmode& devmode) {
    if (!provider_)
        return E_UNEXPECTED;
    return provider_->ConvertPrintTicketToDevMode(ticket, devmode.Size(), devmode.Devmode(),
                                                  devmode.PluginSectionSize(),
                                                  devmode.PluginSection());
}

HRESULT HostSession::CompletePrintCapabilities(IXMLDOMDocument2* ticket,
                                               IXMLDOMDocument2* capabilities) {
    if (!provider_)
        return E_UNEXPECTED;
    return provider_->CompletePrintCapabilities(ticket, capabilities);
}

} // namespace ptbridge
