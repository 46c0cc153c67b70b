// The user-interface plug-in through its interface: identification, the
// private devmode section, held host interfaces and reference counting.
#include "fake_core_helper.h"
#include "module_loader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

// A host object that writes its name in a shared log at every release.
class ReleaseLoggingHost : public FakeCoreHelper {
  public:
    ReleaseLoggingHost(std::vector<std::string>* log, std::string name)
        : log_(log), name_(std::move(name)) {}

    STDMETHODIMP_(ULONG) Release() override {
        log_->push_back(name_);
        return FakeCoreHelper::Release();
    }

  private:
    std::vector<std::string>* log_;
    std::string name_;
};

class OemUIPluginTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(module.Loaded()) << module.Error();
        ASSERT_EQ(S_OK, module.CreateObject(IID_IPrintOemUI2, reinterpret_cast<void**>(&plugin)));
    }
    void TearDown() override {
        if (plugin) {
            EXPECT_EQ(0u, plugin->Release());
        }
        EXPECT_EQ(1, host.References()) << "the plug-in released what it held";
    }

    HRESULT GetInfo(DWORD mode, DWORD* value, DWORD size, DWORD* needed) {
        SetLastError(0);
        return plugin->GetInfo(mode, value, size, needed);
    }

    LoadedModule module;
    IPrintOemUI2* plugin = nullptr;
    FakeCoreHelper host;
};

TEST_F(OemUIPluginTest, IdentifiesItself) {
    DWORD value = 0, needed = 0;
    ASSERT_EQ(S_OK, GetInfo(OEMGI_GETSIGNATURE, &value, 4, &needed));
    EXPECT_EQ(4u, needed);
    EXPECT_EQ(0, std::memcmp(&value, "QVQV", 4));

    ASSERT_EQ(S_OK, GetInfo(OEMGI_GETVERSION, &value, 4, &needed));
    EXPECT_EQ(1u, value);
    ASSERT_EQ(S_OK, GetInfo(OEMGI_GETREQUESTEDHELPERINTERFACES, &value, 8, &needed));
    EXPECT_EQ(DWORD(OEMPUBLISH_IPRINTCOREHELPER), value);
}

TEST_F(OemUIPluginTest, GetInfoFailuresSetTheLastError) {
    DWORD value = 0, needed = 77;
    EXPECT_EQ(E_FAIL, GetInfo(OEMGI_GETINTERFACEVERSION, &value, 4, &needed));
    EXPECT_EQ(87u, GetLastError());
    EXPECT_EQ(77u, needed) << "the needed size is not written for an unknown mode";
    EXPECT_EQ(E_FAIL, GetInfo(OEMGI_GETSIGNATURE, &value, 4, nullptr));
    EXPECT_EQ(87u, GetLastError());

    for (DWORD mode : {OEMGI_GETSIGNATURE, OEMGI_GETVERSION, OEMGI_GETPUBLISHERINFO,
                       OEMGI_GETREQUESTEDHELPERINTERFACES}) {
        needed = 0;
        EXPECT_EQ(E_FAIL, GetInfo(mode, &value, 3, &needed)) << mode;
        EXPECT_EQ(122u, GetLastError());
        EXPECT_EQ(4u, needed);
        EXPECT_EQ(E_FAIL, GetInfo(mode, nullptr, 4, &needed)) << mode;
        EXPECT_EQ(122u, GetLastError());
    }

    needed = 9;
    EXPECT_EQ(E_FAIL, GetInfo(OEMGI_GETPUBLISHERINFO, &value, 64, &needed));
    EXPECT_EQ(50u, GetLastError());
    EXPECT_EQ(0u, needed);
}

TEST_F(OemUIPluginTest, DevModeSizeDefaultAndBadModes) {
    OEM_DMEXTRAHEADER in{}, out{};
    OEMDMPARAM param{};
    param.pOEMDMIn = &in;
    param.pOEMDMOut = &out;
    EXPECT_EQ(S_OK, plugin->DevMode(OEMDM_SIZE, &param));
    EXPECT_EQ(12u, param.cbBufSize);

    EXPECT_EQ(S_OK, plugin->DevMode(OEMDM_DEFAULT, &param));
    EXPECT_EQ(12u, out.dwSize);
    EXPECT_EQ(0, std::memcmp(&out.dwSignature, "QVQV", 4));
    EXPECT_EQ(1u, out.dwVersion);

    for (DWORD mode : {0u, 5u}) {
        SetLastError(0);
        EXPECT_EQ(E_FAIL, plugin->DevMode(mode, &param));
        EXPECT_EQ(87u, GetLastError());
    }
    SetLastError(0);
    EXPECT_EQ(E_FAIL, plugin->DevMode(OEMDM_SIZE, nullptr));
    EXPECT_EQ(87u, GetLastError());

    param.pOEMDMOut = nullptr;
    SetLastError(0);
    EXPECT_EQ(E_FAIL, plugin->DevMode(OEMDM_DEFAULT, &param)) << "no section to write into";
    EXPECT_EQ(87u, GetLastError());
}

TEST_F(OemUIPluginTest, DevModeConvertAndMerge) {
    OEM_DMEXTRAHEADER in{12, 0x11111111, 9};
    OEM_DMEXTRAHEADER out{12, 0x56515651, 4};
    OEMDMPARAM param{};
    param.pOEMDMIn = &in;
    param.pOEMDMOut = &out;
    EXPECT_EQ(S_OK, plugin->DevMode(OEMDM_CONVERT, &param));
    EXPECT_EQ(0x56515651u, out.dwSignature);
    EXPECT_EQ(1u, out.dwVersion);

    param.pOEMDMIn = nullptr;
    out = {5, 6, 7};
    EXPECT_EQ(S_OK, plugin->DevMode(OEMDM_CONVERT, &param));
    EXPECT_EQ(5u, out.dwSize) << "a conversion without input leaves the output alone";

    EXPECT_EQ(S_OK, plugin->DevMode(OEMDM_MERGE, &param));
    EXPECT_EQ(12u, out.dwSize);
    EXPECT_EQ(0x56515651u, out.dwSignature);
    EXPECT_EQ(1u, out.dwVersion);

    param.pOEMDMOut = nullptr;
    EXPECT_EQ(S_OK, plugin->DevMode(OEMDM_MERGE, &param));
}

TEST_F(OemUIPluginTest, PublishDriverInterfaceTakesEachInterfaceOnce) {
    host.offersDriverUI = true;
    EXPECT_EQ(S_OK, plugin->PublishDriverInterface(&host)) << "core helper first";
    EXPECT_EQ(2, host.References());
    EXPECT_EQ(S_OK, plugin->PublishDriverInterface(&host)) << "then the driver UI";
    EXPECT_EQ(3, host.References());
    EXPECT_EQ(E_FAIL, plugin->PublishDriverInterface(&host)) << "both held";
    EXPECT_EQ(3, host.References());
}

TEST_F(OemUIPluginTest, PublishDriverInterfaceFallsBackToTheDriverUI) {
    host.offersCoreHelper = false;
    EXPECT_EQ(E_NOINTERFACE, plugin->PublishDriverInterface(&host));
    EXPECT_EQ(1, host.References());
    host.offersDriverUI = true;
    EXPECT_EQ(S_OK, plugin->PublishDriverInterface(&host));
    EXPECT_EQ(2, host.References());
    host.offersCoreHelper = true;
    EXPECT_EQ(S_OK, plugin->PublishDriverInterface(&host)) << "only the core helper is asked";
    EXPECT_EQ(3, host.References());
    EXPECT_EQ(E_INVALIDARG, plugin->PublishDriverInterface(nullptr));
}

TEST_F(OemUIPluginTest, ReleasesTheDriverUIBeforeTheCoreHelper) {
    std::vector<std::string> releases;
    ReleaseLoggingHost coreHelperHost(&releases, "core helper");
    ReleaseLoggingHost driverUIHost(&releases, "driver UI");
    driverUIHost.offersCoreHelper = false;
    driverUIHost.offersDriverUI = true;
    ASSERT_EQ(S_OK, plugin->PublishDriverInterface(&coreHelperHost));
    ASSERT_EQ(S_OK, plugin->PublishDriverInterface(&driverUIHost));
    ASSERT_TRUE(releases.empty());

    EXPECT_EQ(0u, std::exchange(plugin, nullptr)->Release());
    EXPECT_EQ((std::vector<std::string>{"driver UI", "core helper"}), releases);
    EXPECT_EQ(1, coreHelperHost.References());
    EXPECT_EQ(1, driverUIHost.References());
}

TEST_F(OemUIPluginTest, AnswersOnlyItsOwnInterfaces) {
    void* out = nullptr;
    EXPECT_EQ(S_OK, plugin->QueryInterface(IID_IUnknown, &out));
    EXPECT_EQ(static_cast<void*>(plugin), out);
    EXPECT_EQ(1u, plugin->Release());
    for (const IID* iid :
         {&IID_IPrintOemPrintTicketProvider, &IID_IClassFactory, &IID_IPrintCoreHelper}) {
        out = reinterpret_cast<void*>(1);
        EXPECT_EQ(E_NOINTERFACE, plugin->QueryInterface(*iid, &out));
        EXPECT_EQ(nullptr, out);
    }
    EXPECT_EQ(E_POINTER, plugin->QueryInterface(IID_IUnknown, nullptr));
}

TEST_F(OemUIPluginTest, HooksAreStubs) {
    EXPECT_EQ(E_NOTIMPL, plugin->CommonUIProp(0, nullptr));
    EXPECT_EQ(S_OK, plugin->DocumentPropertySheets(nullptr, 0));
    EXPECT_EQ(S_OK, plugin->DevicePropertySheets(nullptr, 0));
    EXPECT_EQ(E_NOTIMPL, plugin->DevQueryPrintEx(nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(E_NOTIMPL, plugin->DeviceCapabilities(nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                                    nullptr, 0, nullptr));
    EXPECT_EQ(E_NOTIMPL, plugin->UpgradePrinter(0, nullptr));
    EXPECT_EQ(E_NOTIMPL, plugin->PrinterEvent(nullptr, 0, 0, 0));
    EXPECT_EQ(E_NOTIMPL, plugin->DriverEvent(0, 0, nullptr, 0));
    EXPECT_EQ(E_NOTIMPL, plugin->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 0, nullptr,
                                                   nullptr, nullptr));
    EXPECT_EQ(E_NOTIMPL, plugin->FontInstallerDlgProc(nullptr, 0, 0, 0));
    EXPECT_EQ(E_NOTIMPL, plugin->UpdateExternalFonts(nullptr, nullptr, nullptr));
    EXPECT_EQ(E_NOTIMPL, plugin->QueryJobAttributes(nullptr, nullptr, 0, nullptr));
    EXPECT_EQ(E_NOTIMPL, plugin->HideStandardUI(0));
    EXPECT_EQ(E_NOTIMPL,
              plugin->DocumentEvent(nullptr, nullptr, 0, 0, nullptr, 0, nullptr, nullptr));
}

} // namespace
