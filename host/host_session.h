// One session of the stand-in core driver with a plug-in module: it loads the
// module, makes the user-interface plug-in and the PrintTicket provider through
// the module's class factories, asks the plug-in who it is, hands both objects
// the host object, and then drives the conversion calls on documents and
// DEVMODEs that the caller supplies.
#pragma once

#include "common/com_ptr.h"
#include "core_helper.h"
#include "host_devmode.h"
#include "plugin_module.h"

#include <string>
#include <vector>

namespace ptbridge {

// What the plug-in reported about itself while the session was opened.
struct PluginIdentity {
    DWORD signature = 0;
    DWORD version = 0;
    DWORD requestedHelperInterfaces = 0;
    std::vector<INT> supportedVersions;
    std::vector<std::u16string> namespaces; // from BindPrinter
    std::vector<BYTE> defaultSection;       // DevMode(OEMDM_DEFAULT), OEMDM_SIZE bytes
};

enum class OpenStatus {
    Opened,
    ModuleUnavailable, // the module could not be loaded or is no plug-in module
    PluginFailed,      // a set-up call into the plug-in did not succeed
};

class HostSession {
  public:
    HostSession() = default;
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // Loads the module and runs the set-up calls. On failure `*error` names the
    // call that failed and its result, and the session is closed again.
    OpenStatus Open(const std::string& modulePath, std::string* error);
    // Releases the plug-in objects and the host object, then unloads the module.
    void Close();

    const PluginIdentity& Identity() const { return identity_; }
    const std::string& ModulePath() const { return module_.Path(); }

    // Size of the plug-in's DEVMODE section, from DevMode(OEMDM_SIZE): the
    // size to build a HostDevmode with.
    DWORD PluginSectionSize() const { return pluginSectionSize_; }
    // Has the plug-in write its default section into the DEVMODE
    // (DevMode(OEMDM_DEFAULT)) and returns its result.
    HRESULT WriteDefaultPluginSection(HostDevmode& devmode);

    // The provider's conversion calls, with the DEVMODE's size and plug-in
    // section passed as the core driver passes them. Each returns the
    // plug-in's own result.
    HRESULT ConvertDevModeToPrintTicket(HostDevmode& devmode, IXMLDOMDocument2* ticket);
    HRESULT ConvertPrintTicketToDevMode(IXMLDOMDocument2* ticket, HostDevmode& devmode);
    HRESULT CompletePrintCapabilities(IXMLDOMDocument2* ticket, IXMLDOMDocument2* capabilities);

  private:
    bool CreatePlugins(std::string* error);
    bool ReadIdentity(std::string* error);
    bool ReadPrivateSection(std::string* error);
    bool PublishHostObject(std::string* error);
    bool BindProvider(std::string* error);

    PluginModule module_;
    ComPtr<IPrintOemUI2> uiPlugin_;
    ComPtr<IPrintOemPrintTicketProvider> provider_;
    ComPtr<HostCoreHelper> coreHelper_;
    PluginIdentity identity_;
    DWORD pluginSectionSize_ = 0; // DevMode(OEMDM_SIZE), asked once per session
    // The printer the provider is bound to: the host has none, so the handle
    // only has to be unique and non-null.
    int printerToken_ = 0;
};

} // namespace ptbridge
