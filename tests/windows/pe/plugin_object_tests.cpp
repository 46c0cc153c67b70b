// The two plug-in objects of the PE module through their interfaces, with the
// host's object as the core driver's helper: identification and last-error
// codes through the real kernel32, the private devmode section, and the
// provider's strings and arrays through the real ole32 and oleaut32.
#include "pe_test_support.h"

#include "common/com_ptr.h"
#include "common/oem_interfaces.h"
#include "core_helper.h"

#include <cstring>
#include <string>

using namespace ptbridge;

namespace {
const std::u16string PrivateNamespace = u"http://ptbridge.example/printing/2005/08/printticket";

std::u16string Text(const BSTR text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text));
}

class OemUIPluginTest : public LoadedPluginTest {
  protected:
    void SetUp() override {
        LoadedPluginTest::SetUp();
        ASSERT_EQ(CreateObject(CLSID_OEMUI, IID_IPrintOemUI2, plugin.PutVoid()), S_OK);
        host.Attach(HostCoreHelper::Create());
    }
    void TearDown() override {
        plugin.Reset();
        host.Reset();
        EXPECT_EQ(HostCoreHelper::LiveCount(), 0) << "the plug-in released the host object";
    }

    HRESULT GetInfo(DWORD mode, DWORD* value, DWORD size, DWORD* needed) {
        SetLastError(0);
        return plugin->GetInfo(mode, value, size, needed);
    }

    ComPtr<IPrintOemUI2> plugin;
    ComPtr<HostCoreHelper> host;
};

TEST_F(OemUIPluginTest, IdentifiesItself) {
    DWORD value = 0, needed = 0;
    ASSERT_EQ(GetInfo(OEMGI_GETSIGNATURE, &value, 4, &needed), S_OK);
    EXPECT_EQ(needed, 4u);
    EXPECT_EQ(std::memcmp(&value, "QVQV", 4), 0);
    ASSERT_EQ(GetInfo(OEMGI_GETVERSION, &value, 4, &needed), S_OK);
    EXPECT_EQ(value, 1u);
    ASSERT_EQ(GetInfo(OEMGI_GETREQUESTEDHELPERINTERFACES, &value, 8, &needed), S_OK);
    EXPECT_EQ(value, DWORD(OEMPUBLISH_IPRINTCOREHELPER));
}

TEST_F(OemUIPluginTest, GetInfoFailuresSetTheThreadsLastError) {
    DWORD value = 0, needed = 77;
    EXPECT_EQ(GetInfo(OEMGI_GETINTERFACEVERSION, &value, 4, &needed), E_FAIL);
    EXPECT_EQ(GetLastError(), 87u);
    EXPECT_EQ(needed, 77u);
    EXPECT_EQ(GetInfo(OEMGI_GETSIGNATURE, &value, 3, &needed), E_FAIL);
    EXPECT_EQ(GetLastError(), 122u);
    EXPECT_EQ(needed, 4u);
    needed = 9;
    EXPECT_EQ(GetInfo(OEMGI_GETPUBLISHERINFO, &value, 64, &needed), E_FAIL);
    EXPECT_EQ(GetLastError(), 50u);
    EXPECT_EQ(needed, 0u);
}

TEST_F(OemUIPluginTest, KeepsItsPrivateDevmodeSection) {
    OEM_DMEXTRAHEADER in{12, 0x11111111, 9};
    OEM_DMEXTRAHEADER out{12, 0x56515651, 4};
    OEMDMPARAM param{};
    param.pOEMDMIn = &in;
    param.pOEMDMOut = &out;
    ASSERT_EQ(plugin->DevMode(OEMDM_SIZE, &param), S_OK);
    EXPECT_EQ(param.cbBufSize, 12u);
    EXPECT_EQ(plugin->DevMode(OEMDM_CONVERT, &param), S_OK);
    EXPECT_EQ(out.dwSignature, 0x56515651u) << "a foreign section is replaced by the default";
    EXPECT_EQ(out.dwVersion, 1u);
    param.pOEMDMIn = nullptr;
    out = {5, 6, 7};
    EXPECT_EQ(plugin->DevMode(OEMDM_MERGE, &param), S_OK);
    EXPECT_EQ(out.dwSize, 12u);
    EXPECT_EQ(out.dwSignature, 0x56515651u);
    SetLastError(0);
    EXPECT_EQ(plugin->DevMode(5, &param), E_FAIL);
    EXPECT_EQ(GetLastError(), 87u);
}

TEST_F(OemUIPluginTest, TakesEachHostInterfaceOnce) {
    IUnknown* hostObject = static_cast<IPrintCoreHelper*>(host.Get());
    EXPECT_EQ(plugin->PublishDriverInterface(hostObject), S_OK) << "the core helper first";
    EXPECT_EQ(plugin->PublishDriverInterface(hostObject), S_OK) << "then the driver UI";
    EXPECT_EQ(plugin->PublishDriverInterface(hostObject), E_FAIL) << "both held";
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(plugin->QueryInterface(IID_IPrintOemPrintTicketProvider, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
}

class PrintTicketProviderTest : public LoadedPluginTest {
  protected:
    void SetUp() override {
        LoadedPluginTest::SetUp();
        ASSERT_EQ(
            CreateObject(CLSID_OEMPTPROVIDER, IID_IPrintOemPrintTicketProvider, provider.PutVoid()),
            S_OK);
    }

    ComPtr<IPrintOemPrintTicketProvider> provider;
    HANDLE printer = reinterpret_cast<HANDLE>(0x42);
};

TEST_F(PrintTicketProviderTest, SupportsVersionOneInATaskMemoryArray) {
    INT* versions = nullptr;
    INT count = 0;
    ASSERT_EQ(provider->GetSupportedVersions(nullptr, &versions, &count), S_OK);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(versions[0], 1);
    CoTaskMemFree(versions);
    EXPECT_EQ(provider->GetSupportedVersions(printer, nullptr, &count), E_INVALIDARG);
}

TEST_F(PrintTicketProviderTest, BindPrinterReportsThePrivateNamespaceAsABstr) {
    OEMPTOPTS options = OEMPT_NOSNAPSHOT;
    INT count = 0;
    BSTR* namespaces = nullptr;
    ASSERT_EQ(provider->BindPrinter(printer, 1, &options, &count, &namespaces), S_OK);
    EXPECT_EQ(options, OEMPT_DEFAULT);
    ASSERT_EQ(count, 1);
    ASSERT_NE(namespaces, nullptr);
    UniqueBstr uri(namespaces[0]);
    CoTaskMemFree(namespaces);
    EXPECT_EQ(Text(uri.Get()), PrivateNamespace);
    EXPECT_EQ(uri.Length(), PrivateNamespace.size());

    namespaces = reinterpret_cast<BSTR*>(0x99);
    EXPECT_EQ(provider->BindPrinter(printer, 2, &options, &count, &namespaces),
              HRESULT(0x80040001));
    EXPECT_EQ(namespaces, nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(provider->BindPrinter(nullptr, 1, &options, &count, &namespaces), E_INVALIDARG);
}

TEST_F(PrintTicketProviderTest, QueryDeviceDefaultNamespace) {
    UniqueBstr uri;
    ASSERT_EQ(provider->QueryDeviceDefaultNamespace(uri.Put()), S_OK);
    EXPECT_EQ(Text(uri.Get()), PrivateNamespace);
    EXPECT_EQ(uri.Length(), PrivateNamespace.size());
    EXPECT_EQ(provider->QueryDeviceDefaultNamespace(nullptr), E_INVALIDARG);
}

TEST_F(PrintTicketProviderTest, KeepsTheFirstCoreHelperAndGivesItBack) {
    {
        ComPtr<HostCoreHelper> first, second;
        first.Attach(HostCoreHelper::Create());
        second.Attach(HostCoreHelper::Create());
        EXPECT_EQ(provider->PublishDriverInterface(nullptr), E_INVALIDARG);
        EXPECT_EQ(provider->PublishDriverInterface(static_cast<IPrintCoreHelper*>(first.Get())),
                  S_OK);
        EXPECT_EQ(provider->PublishDriverInterface(static_cast<IPrintCoreHelper*>(second.Get())),
                  S_OK);
        EXPECT_EQ(second->AddRef(), 2u) << "the second object is never queried";
        second->Release();
    }
    EXPECT_EQ(HostCoreHelper::LiveCount(), 1) << "the provider holds the first";
    provider.Reset();
    EXPECT_EQ(HostCoreHelper::LiveCount(), 0);
}

TEST_F(PrintTicketProviderTest, ValidationIntentExpansionAndArgumentTests) {
    auto* document = reinterpret_cast<IXMLDOMDocument2*>(0x100);
    auto* devmode = reinterpret_cast<DEVMODEW*>(0x200);
    void* section = reinterpret_cast<void*>(0x300);
    EXPECT_EQ(provider->ExpandIntentOptions(nullptr), S_OK);
    EXPECT_EQ(provider->ValidatePrintTicket(document), HRESULT(0x00040001));
    EXPECT_EQ(provider->ValidatePrintTicket(nullptr), E_INVALIDARG);
    // None of these arguments is dereferenced: each call fails on its argument test.
    EXPECT_EQ(provider->ConvertPrintTicketToDevMode(document, 220, devmode, 0, section),
              E_INVALIDARG);
    EXPECT_EQ(provider->ConvertDevModeToPrintTicket(220, devmode, 12, section, nullptr),
              E_INVALIDARG);
    EXPECT_EQ(provider->CompletePrintCapabilities(document, nullptr), E_INVALIDARG);
}
} // namespace
