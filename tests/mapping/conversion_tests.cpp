// The provider's three conversions through the loaded module, in the cases the
// scenario corpus cannot show: no core helper, a document that cannot be
// opened, and failing platform calls, each released in full. (Which rules run
// in which order is the corpus's part.)
#include "mapping_test.h"

#include "module_loader.h"
#include "msxml_standin.h"
#include "platform_testing.h"

#include <functional>
#include <vector>

using namespace ptbridge;

namespace {
const std::string NUp = R"(<psf:Feature name="psk:JobNUpAllDocumentsContiguously">)"
                        R"(<psf:Option name="psk:PagesPerSheet1"/></psf:Feature>)";
const std::string PrivateDirection =
    R"(<psf:Feature name="pv:JobPresentationDirection"><psf:Option name="pv:RightBottom"/>)"
    R"(</psf:Feature>)";
const std::string OutputBin =
    R"(<psf:Feature name="psk:JobOutputBin"><psf:Option name="pv:Center"/></psf:Feature>)";
const std::string HolePunch =
    R"(<psf:Feature name="psk:JobHolePunch"><psf:Option name="psk:LeftEdge"/></psf:Feature>)";
const std::string FullTicket = Documents.Ticket(NUp + PrivateDirection + OutputBin + HolePunch);

// Why a conversion cannot open its document, and what it answers then: the
// cause's own failure code, or E_FAIL for a success code that brought nothing.
struct OpeningFailure {
    const char* cause;
    HRESULT namespaceManager; // the core helper's answer when asked for one
    HRESULT rootElement;      // how reading the root element fails; S_OK: it does not
    HRESULT expected;
};

const OpeningFailure OpeningFailures[] = {
    {"no memory for the namespace manager", E_OUTOFMEMORY, S_OK, E_OUTOFMEMORY},
    {"namespace manager class not registered", REGDB_E_CLASSNOTREG, S_OK, REGDB_E_CLASSNOTREG},
    {"S_FALSE and no namespace manager", S_FALSE, S_OK, E_FAIL},
    {"no memory for the root element", S_OK, E_OUTOFMEMORY, E_OUTOFMEMORY},
    {"S_FALSE and no root element", S_OK, S_FALSE, E_FAIL},
};
} // namespace

class ConversionTest : public MappingTest {
  protected:
    void SetUp() override {
        MappingTest::SetUp();
        ASSERT_TRUE(module.Loaded()) << module.Error();
        ASSERT_EQ(module.CreateObject(IID_IPrintOemPrintTicketProvider,
                                      reinterpret_cast<void**>(&provider)),
                  S_OK);
    }
    void TearDown() override {
        if (provider) {
            EXPECT_EQ(provider->Release(), 0u);
        }
        MappingTest::TearDown();
    }

    void GiveCoreHelper() {
        // The provider keeps one reference until it is released itself.
        ASSERT_EQ(provider->PublishDriverInterface(&coreHelper), S_OK);
    }

    HRESULT ToTicket() {
        return Balanced(provider->ConvertDevModeToPrintTicket(
            sizeof(devmode), &devmode, sizeof(section), section, document.Get()));
    }
    HRESULT ToDevMode() {
        return Balanced(provider->ConvertPrintTicketToDevMode(document.Get(), sizeof(devmode),
                                                              &devmode, sizeof(section), section));
    }
    HRESULT Complete(IXMLDOMDocument2* ticket) {
        return Balanced(provider->CompletePrintCapabilities(ticket, document.Get()));
    }
    std::vector<std::function<HRESULT()>> Conversions() {
        return {[this] { return ToTicket(); }, [this] { return ToDevMode(); },
                [this] { return Complete(nullptr); }};
    }

    // Nothing a conversion takes outlives it but the edits in the host's document.
    HRESULT Balanced(HRESULT result) {
        EXPECT_EQ(PlatformLiveBstrCount(), bstrs);
        EXPECT_EQ(PlatformLiveTaskMemCount(), blocks);
        EXPECT_EQ(LiveDomObjectCount(), domObjects);
        return result;
    }
    void LoadDocument(const std::string& xml) {
        Load(xml);
        bstrs = PlatformLiveBstrCount();
        blocks = PlatformLiveTaskMemCount();
        domObjects = LiveDomObjectCount();
    }

    LoadedModule module;
    IPrintOemPrintTicketProvider* provider = nullptr;
    DEVMODEW devmode{};
    BYTE section[12] = {};
    LONG bstrs = 0;
    LONG blocks = 0;
    LONG domObjects = 0;
};

TEST_F(ConversionTest, WithoutACoreHelperEveryConversionFailsAndLeavesTheDocument) {
    LoadDocument(FullTicket);
    EXPECT_EQ(ToTicket(), E_FAIL);
    EXPECT_EQ(ToDevMode(), E_FAIL);
    EXPECT_EQ(Complete(nullptr), E_FAIL);
    EXPECT_TRUE(DocumentIs(FullTicket));
}

TEST_F(ConversionTest, ADocumentThatCannotBeOpenedRunsNoRuleAndTellsWhy) {
    GiveCoreHelper();
    coreHelper.options["PunchHole"] = "2Holes";
    LoadDocument(FullTicket);
    for (const OpeningFailure& failure : OpeningFailures) {
        SCOPED_TRACE(failure.cause);
        coreHelper.namespaceManagerFailure = failure.namespaceManager;
        for (const std::function<HRESULT()>& conversion : Conversions()) {
            // Reading the root element is the first DOM call of a conversion.
            PlatformInjectFault(failure.rootElement == S_OK ? 0 : 1, PlatformFaultDom,
                                failure.rootElement);
            EXPECT_EQ(conversion(), failure.expected);
            PlatformInjectFault(0, 0, S_OK);
        }
    }
    EXPECT_EQ(coreHelper.getOptionCalls, 0);
    EXPECT_TRUE(DocumentIs(FullTicket));
}

TEST_F(ConversionTest, EveryFailingPlatformCallIsReportedAndReleased) {
    GiveCoreHelper();
    coreHelper.options["PunchHole"] = "3Holes";
    for (const std::function<HRESULT()>& conversion : Conversions()) {
        for (LONG nth = 1;; ++nth) {
            LoadDocument(FullTicket);
            PlatformInjectFault(nth, PlatformFaultAll, E_OUTOFMEMORY);
            HRESULT result = conversion();
            bool reached = PlatformFaultCallCount() >= nth;
            PlatformInjectFault(0, 0, S_OK);
            EXPECT_TRUE(result == S_OK || result == E_FAIL || result == E_OUTOFMEMORY)
                << std::hex << result;
            if (!reached)
                break;
        }
    }
}
