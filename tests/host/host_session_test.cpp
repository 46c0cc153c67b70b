// A whole host session against the built plug-in module: set-up, identity,
// conversions, and a teardown that leaves nothing alive.
#include "host_session.h"

#include "msxml_standin.h"
#include "platform_testing.h"

#include <gtest/gtest.h>

using namespace ptbridge;

namespace {
const char16_t PrivateNamespace[] = u"http://ptbridge.example/printing/2005/08/printticket";

ComPtr<IXMLDOMDocument2> LoadExample(const std::string& name) {
    ComPtr<IXMLDOMDocument2> document;
    XmlLoadError error;
    EXPECT_EQ(LoadDocumentFromFile(std::string(PTBRIDGE_EXAMPLES_DIR) + "/" + name, document.Put(),
                                   &error),
              S_OK)
        << name << ": " << error.message;
    return document;
}

// Live counts that must be back where they were once a session is over.
struct Balance {
    LONG bstrs = PlatformLiveBstrCount();
    LONG taskMemory = PlatformLiveTaskMemCount();
    LONG helpers = HostCoreHelper::LiveCount();

    void ExpectRestored() const {
        EXPECT_EQ(PlatformLiveBstrCount(), bstrs);
        EXPECT_EQ(PlatformLiveTaskMemCount(), taskMemory);
        EXPECT_EQ(HostCoreHelper::LiveCount(), helpers);
        EXPECT_EQ(LiveDomObjectCount(), 0);
    }
};

struct SampleDocuments {
    ComPtr<IXMLDOMDocument2> ticket = LoadExample("ticket.xml");
    ComPtr<IXMLDOMDocument2> capabilities = LoadExample("capabilities.xml");
    ComPtr<IXMLDOMDocument2> clientTicket = LoadExample("client_ticket.xml");
};

// Every conversion once, as the ptbridge commands run them; returns the results.
std::vector<HRESULT> RunConversions(HostSession& session, SampleDocuments& documents) {
    std::vector<HRESULT> results;
    HostDevmode devmode;
    if (HostDevmode::Build({{"PunchHole", "3Holes"}, {"Punch", "Left"}},
                           session.PluginSectionSize(), &devmode) != S_OK)
        return results;
    results.push_back(session.WriteDefaultPluginSection(devmode));
    results.push_back(session.ConvertDevModeToPrintTicket(devmode, documents.ticket.Get()));
    results.push_back(
        session.CompletePrintCapabilities(documents.ticket.Get(), documents.capabilities.Get()));
    results.push_back(session.ConvertPrintTicketToDevMode(documents.clientTicket.Get(), devmode));
    return results;
}

TEST(HostSessionTest, OpensTheModuleAndReadsThePluginIdentity) {
    HostSession session;
    std::string error;
    ASSERT_EQ(session.Open(PTBRIDGE_MODULE_PATH, &error), OpenStatus::Opened) << error;
    const PluginIdentity& identity = session.Identity();
    EXPECT_EQ(identity.signature, 0x56515651u);
    EXPECT_EQ(identity.version, 1u);
    EXPECT_EQ(identity.requestedHelperInterfaces, DWORD(OEMPUBLISH_IPRINTCOREHELPER));
    EXPECT_EQ(identity.supportedVersions, std::vector<INT>{1});
    ASSERT_EQ(identity.namespaces.size(), 1u);
    EXPECT_EQ(identity.namespaces[0], PrivateNamespace);
    EXPECT_EQ(session.PluginSectionSize(), 12u);
    const std::vector<BYTE> defaultSection{12, 0, 0, 0, 'Q', 'V', 'Q', 'V', 1, 0, 0, 0};
    EXPECT_EQ(identity.defaultSection, defaultSection);
}

TEST(HostSessionTest, WritesThePluginDefaultSectionIntoItsDevmodes) {
    HostSession session;
    std::string error;
    ASSERT_EQ(session.Open(PTBRIDGE_MODULE_PATH, &error), OpenStatus::Opened) << error;
    HostDevmode devmode;
    ASSERT_EQ(HostDevmode::Build({{"PunchHole", "2Holes"}}, session.PluginSectionSize(), &devmode),
              S_OK);
    ASSERT_EQ(session.WriteDefaultPluginSection(devmode), S_OK);
    std::vector<BYTE> section(devmode.PluginSection(),
                              devmode.PluginSection() + devmode.PluginSectionSize());
    EXPECT_EQ(section, session.Identity().defaultSection);
}

TEST(HostSessionTest, AFullSessionLeavesNothingAlive) {
    Balance balance;
    {
        HostSession session;
        std::string error;
        ASSERT_EQ(session.Open(PTBRIDGE_MODULE_PATH, &error), OpenStatus::Opened) << error;
        SampleDocuments documents;
        EXPECT_EQ(RunConversions(session, documents), std::vector<HRESULT>(4, S_OK));
    }
    balance.ExpectRestored();
}

TEST(HostSessionTest, EveryFailingPlatformCallStillLeavesNothingAlive) {
    Balance balance;
    for (LONG nth = 1;; ++nth) {
        bool faultHit = false;
        {
            SampleDocuments documents;
            HostSession session;
            std::string error;
            PlatformInjectFault(nth, PlatformFaultAll, E_OUTOFMEMORY);
            if (session.Open(PTBRIDGE_MODULE_PATH, &error) == OpenStatus::Opened)
                RunConversions(session, documents);
            faultHit = PlatformFaultCallCount() >= nth;
            PlatformInjectFault(0, 0, S_OK);
        }
        balance.ExpectRestored();
        if (!faultHit || HasFailure())
            break;
    }
}

TEST(HostSessionTest, AMissingModuleIsReportedByPath) {
    HostSession session;
    std::string error;
    EXPECT_EQ(session.Open("/nonexistent/libplugin.so", &error), OpenStatus::ModuleUnavailable);
    EXPECT_NE(error.find("/nonexistent/libplugin.so"), std::string::npos) << error;
    HostDevmode devmode;
    EXPECT_EQ(session.ConvertDevModeToPrintTicket(devmode, nullptr), E_UNEXPECTED);
}

TEST(HostSessionTest, ALibraryThatIsNoPluginModuleIsRefused) {
    HostSession session;
    std::string error;
    EXPECT_EQ(session.Open(PTBRIDGE_WINAPI_PATH, &error), OpenStatus::ModuleUnavailable);
    EXPECT_NE(error.find("DllGetClassObject"), std::string::npos) << error;
}
} // namespace
