// The PrintTicket provider through its interface: versions, printer binding,
// the private namespace, the held core helper, and the conversion argument tests.
#include "common/com_ptr.h"
#include "fake_core_helper.h"
#include "module_loader.h"
#include "platform_testing.h"

#include <gtest/gtest.h>

#include <string>

using namespace ptbridge;

namespace {

const std::u16string ExpectedNamespace = u"http://ptbridge.example/printing/2005/08/printticket";

class PrintTicketProviderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(module.Loaded()) << module.Error();
        ASSERT_EQ(S_OK, module.CreateObject(IID_IPrintOemPrintTicketProvider,
                                            reinterpret_cast<void**>(&provider)));
        bstrs = PlatformLiveBstrCount();
        blocks = PlatformLiveTaskMemCount();
    }
    void TearDown() override {
        PlatformInjectFault(0, 0, S_OK);
        if (provider) {
            EXPECT_EQ(0u, provider->Release());
        }
        EXPECT_EQ(1, host.References()) << "the provider released the core helper";
        EXPECT_EQ(bstrs, PlatformLiveBstrCount());
        EXPECT_EQ(blocks, PlatformLiveTaskMemCount());
    }

    LoadedModule module;
    IPrintOemPrintTicketProvider* provider = nullptr;
    FakeCoreHelper host;
    LONG bstrs = 0;
    LONG blocks = 0;
    HANDLE printer = reinterpret_cast<HANDLE>(0x42);
};

TEST_F(PrintTicketProviderTest, SupportsVersionOneOnly) {
    INT* versions = nullptr;
    INT count = 0;
    ASSERT_EQ(S_OK, provider->GetSupportedVersions(nullptr, &versions, &count));
    ASSERT_EQ(1, count);
    EXPECT_EQ(1, versions[0]);
    CoTaskMemFree(versions);

    EXPECT_EQ(E_INVALIDARG, provider->GetSupportedVersions(printer, nullptr, &count));
    EXPECT_EQ(E_INVALIDARG, provider->GetSupportedVersions(printer, &versions, nullptr));

    count = 7;
    PlatformInjectFault(1, PlatformFaultAllocation, S_OK);
    EXPECT_EQ(E_OUTOFMEMORY, provider->GetSupportedVersions(printer, &versions, &count));
    EXPECT_EQ(nullptr, versions);
    EXPECT_EQ(7, count);
}

TEST_F(PrintTicketProviderTest, BindPrinterReportsThePrivateNamespace) {
    OEMPTOPTS options = OEMPT_NOSNAPSHOT;
    INT count = 0;
    BSTR* namespaces = nullptr;
    ASSERT_EQ(S_OK, provider->BindPrinter(printer, 1, &options, &count, &namespaces));
    EXPECT_EQ(OEMPT_DEFAULT, options);
    ASSERT_EQ(1, count);
    ASSERT_NE(nullptr, namespaces);
    UniqueBstr uri(namespaces[0]);
    CoTaskMemFree(namespaces);
    EXPECT_EQ(ExpectedNamespace, std::u16string(uri.Get()));
    EXPECT_EQ(ExpectedNamespace.size(), uri.Length())
        << "the counted length is the text's, terminator excluded";
}

TEST_F(PrintTicketProviderTest, BindPrinterArgumentAndVersionFailures) {
    OEMPTOPTS options = OEMPT_NOSNAPSHOT;
    INT count = 5;
    BSTR* namespaces = reinterpret_cast<BSTR*>(0x99);
    EXPECT_EQ(E_INVALIDARG, provider->BindPrinter(nullptr, 1, &options, &count, &namespaces));
    EXPECT_EQ(5, count) << "a null printer writes no output";
    EXPECT_EQ(reinterpret_cast<BSTR*>(0x99), namespaces);
    EXPECT_EQ(E_INVALIDARG, provider->BindPrinter(printer, 1, nullptr, &count, &namespaces));
    EXPECT_EQ(E_INVALIDARG, provider->BindPrinter(printer, 1, &options, nullptr, &namespaces));
    EXPECT_EQ(E_INVALIDARG, provider->BindPrinter(printer, 1, &options, &count, nullptr));

    EXPECT_EQ(HRESULT(0x80040001),
              provider->BindPrinter(printer, 2, &options, &count, &namespaces));
    EXPECT_EQ(nullptr, namespaces);
    EXPECT_EQ(0, count);
    EXPECT_EQ(OEMPT_NOSNAPSHOT, options) << "options are not written for another version";
}

TEST_F(PrintTicketProviderTest, BindPrinterFreesWhatItAllocatedOnFailure) {
    for (LONG nth : {1, 2}) {
        OEMPTOPTS options = OEMPT_NOSNAPSHOT;
        INT count = 0;
        BSTR* namespaces = nullptr;
        PlatformInjectFault(nth, PlatformFaultAllocation, S_OK);
        EXPECT_EQ(E_OUTOFMEMORY, provider->BindPrinter(printer, 1, &options, &count, &namespaces))
            << "allocation " << nth;
        EXPECT_EQ(nullptr, namespaces);
        EXPECT_EQ(1, count) << "the count written before the failure stays";
        EXPECT_EQ(OEMPT_DEFAULT, options);
    }
}

TEST_F(PrintTicketProviderTest, QueryDeviceDefaultNamespace) {
    BSTR uri = reinterpret_cast<BSTR>(0x1);
    ASSERT_EQ(S_OK, provider->QueryDeviceDefaultNamespace(&uri));
    UniqueBstr text(uri);
    EXPECT_EQ(ExpectedNamespace, std::u16string(text.Get()));
    EXPECT_EQ(ExpectedNamespace.size(), text.Length());

    EXPECT_EQ(E_INVALIDARG, provider->QueryDeviceDefaultNamespace(nullptr));
    PlatformInjectFault(1, PlatformFaultAllocation, S_OK);
    uri = reinterpret_cast<BSTR>(0x1);
    EXPECT_EQ(E_OUTOFMEMORY, provider->QueryDeviceDefaultNamespace(&uri));
    EXPECT_EQ(nullptr, uri);
}

TEST_F(PrintTicketProviderTest, KeepsTheFirstCoreHelper) {
    FakeCoreHelper second;
    EXPECT_EQ(E_INVALIDARG, provider->PublishDriverInterface(nullptr));
    host.offersCoreHelper = false;
    EXPECT_EQ(E_FAIL, provider->PublishDriverInterface(&host));
    EXPECT_EQ(1, host.References()) << "nothing held after a refusal";
    host.offersCoreHelper = true;
    EXPECT_EQ(S_OK, provider->PublishDriverInterface(&host));
    EXPECT_EQ(2, host.References());
    EXPECT_EQ(S_OK, provider->PublishDriverInterface(&second));
    EXPECT_EQ(1, second.References()) << "the second object is never queried";
    EXPECT_EQ(2, host.References());
}

TEST_F(PrintTicketProviderTest, RefusesACoreHelperHandedOverWithAnotherSuccessCode) {
    for (HRESULT success : {S_FALSE, HRESULT(0x00040001)}) {
        host.coreHelperQueryResult = success;
        EXPECT_EQ(E_FAIL, provider->PublishDriverInterface(&host)) << success;
        EXPECT_EQ(1, host.References()) << "the reference handed over is released";
    }
    host.coreHelperQueryResult = S_OK;
    EXPECT_EQ(S_OK, provider->PublishDriverInterface(&host)) << "nothing was kept";
    EXPECT_EQ(2, host.References());
}

TEST_F(PrintTicketProviderTest, ValidationAndIntentExpansion) {
    auto* document = reinterpret_cast<IXMLDOMDocument2*>(0x100);
    EXPECT_EQ(S_OK, provider->ExpandIntentOptions(nullptr));
    EXPECT_EQ(S_OK, provider->ExpandIntentOptions(document));
    EXPECT_EQ(HRESULT(0x00040001), provider->ValidatePrintTicket(document));
    EXPECT_EQ(E_INVALIDARG, provider->ValidatePrintTicket(nullptr));
}

TEST_F(PrintTicketProviderTest, ConversionsTestTheirArgumentsFirst) {
    // None of these arguments is dereferenced: each call fails on its argument test.
    auto* document = reinterpret_cast<IXMLDOMDocument2*>(0x100);
    auto* devmode = reinterpret_cast<DEVMODEW*>(0x200);
    void* section = reinterpret_cast<void*>(0x300);

    EXPECT_EQ(E_INVALIDARG,
              provider->ConvertPrintTicketToDevMode(document, 0, devmode, 12, section));
    EXPECT_EQ(E_INVALIDARG,
              provider->ConvertPrintTicketToDevMode(document, 220, nullptr, 12, section));
    EXPECT_EQ(E_INVALIDARG,
              provider->ConvertPrintTicketToDevMode(nullptr, 220, devmode, 12, section));
    EXPECT_EQ(E_INVALIDARG,
              provider->ConvertPrintTicketToDevMode(document, 220, devmode, 0, section));
    EXPECT_EQ(E_INVALIDARG,
              provider->ConvertPrintTicketToDevMode(document, 220, devmode, 12, nullptr));

    EXPECT_EQ(E_INVALIDARG,
              provider->ConvertDevModeToPrintTicket(0, devmode, 12, section, document));
    EXPECT_EQ(E_INVALIDARG,
              provider->ConvertDevModeToPrintTicket(220, nullptr, 12, section, document));
    EXPECT_EQ(E_INVALIDARG,
              provider->ConvertDevModeToPrintTicket(220, devmode, 0, section, document));
    EXPECT_EQ(E_INVALIDARG,
              provider->ConvertDevModeToPrintTicket(220, devmode, 12, nullptr, document));
    EXPECT_EQ(E_INVALIDARG,
              provider->ConvertDevModeToPrintTicket(220, devmode, 12, section, nullptr));

    EXPECT_EQ(E_INVALIDARG, provider->CompletePrintCapabilities(document, nullptr));
}

TEST_F(PrintTicketProviderTest, AnswersOnlyItsOwnInterfaces) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, provider->QueryInterface(IID_IPrintOemUI2, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(S_OK, provider->QueryInterface(IID_IUnknown, &out));
    EXPECT_EQ(static_cast<void*>(provider), out);
    EXPECT_EQ(1u, provider->Release());
    EXPECT_EQ(E_POINTER, provider->QueryInterface(IID_IUnknown, nullptr));
}

} // namespace
