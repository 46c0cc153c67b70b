// The built plug-in module as the core driver uses it: loaded once, with one
// host object (the stand-in core driver's IPrintCoreHelper) that is published
// to every PrintTicket provider made through the module's class factory.
#pragma once

#include "common/com_ptr.h"
#include "core_helper.h"
#include "host_devmode.h"
#include "module_loader.h"
#include "scenario_corpus.h"

#include <string>

class PluginUnderTest {
  public:
    PluginUnderTest();
    ~PluginUnderTest();
    PluginUnderTest(const PluginUnderTest&) = delete;
    PluginUnderTest& operator=(const PluginUnderTest&) = delete;

    // Empty when the module and the host object are ready, else what failed.
    const std::string& Error() const { return error_; }

    // A new provider holding the host object; null (and a test failure) when
    // the class factory or PublishDriverInterface refuses.
    ptbridge::ComPtr<IPrintOemPrintTicketProvider> MakeProvider() const;

    // References the host object holds now; providers take one each.
    ULONG CoreHelperReferences() const;

    // The DEVMODE the host makes for a job with these device options and the
    // plug-in's 12-byte section.
    static ptbridge::HostDevmode Devmode(const std::vector<ptbridge::OptionSelection>& options);

  private:
    LoadedModule module_;
    ptbridge::ComPtr<ptbridge::HostCoreHelper> coreHelper_;
    std::string error_;
};

// Runs one conversion method of `provider` over `document` with `devmode`, as
// the core driver calls it; the plug-in's own result.
HRESULT Convert(IPrintOemPrintTicketProvider* provider, ConversionMethod method,
                ptbridge::HostDevmode& devmode, IXMLDOMDocument2* document);
