#include "plugin_under_test.h"

#include <gtest/gtest.h>

using namespace ptbridge;

namespace {
constexpr DWORD PluginSectionSize = 12;
}

PluginUnderTest::PluginUnderTest() {
    if (!module_.Loaded()) {
        error_ = "cannot load the module: " + module_.Error();
        return;
    }
    coreHelper_.Attach(HostCoreHelper::Create());
    if (!coreHelper_)
        error_ = "cannot create the host object";
}

PluginUnderTest::~PluginUnderTest() = default;

ComPtr<IPrintOemPrintTicketProvider> PluginUnderTest::MakeProvider() const {
    ComPtr<IPrintOemPrintTicketProvider> provider;
    if (!error_.empty()) {
        ADD_FAILURE() << error_;
        return provider;
    }
    HRESULT hr = module_.CreateObject(IID_IPrintOemPrintTicketProvider, provider.PutVoid());
    if (hr == S_OK)
        hr = provider->PublishDriverInterface(static_cast<IPrintCoreHelper*>(coreHelper_.Get()));
    if (hr != S_OK) {
        ADD_FAILURE() << "cannot make a provider: " << std::hex << hr;
        provider.Reset();
    }
    return provider;
}

ULONG PluginUnderTest::CoreHelperReferences() const {
    coreHelper_->AddRef();
    return coreHelper_->Release();
}

HostDevmode PluginUnderTest::Devmode(const std::vector<OptionSelection>& options) {
    HostDevmode devmode;
    EXPECT_EQ(HostDevmode::Build(options, PluginSectionSize, &devmode), S_OK);
    return devmode;
}

HRESULT Convert(IPrintOemPrintTicketProvider* provider, ConversionMethod method,
                HostDevmode& devmode, IXMLDOMDocument2* document) {
    switch (method) {
    case ConversionMethod::Devmode:
        return provider->ConvertPrintTicketToDevMode(document, devmode.Size(), devmode.Devmode(),
                                                     devmode.PluginSectionSize(),
                                                     devmode.PluginSection());
    case ConversionMethod::Capabilities:
        return provider->CompletePrintCapabilities(nullptr, document);
    case ConversionMethod::Ticket:
        break;
    }
    return provider->ConvertDevModeToPrintTicket(devmode.Size(), devmode.Devmode(),
                                                 devmode.PluginSectionSize(),
                                                 devmode.PluginSection(), document);
}
