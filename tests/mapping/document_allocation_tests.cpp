// A conversion whose document wrapper or Print Schema helper cannot be
// allocated runs no rule and reports the shortage.
#include "mapping_test.h"

#include "nothrow_new_failure.h"
#include "plugin/print_ticket_provider.h"

using namespace ptbridge;

namespace {

struct FailingAllocation {
    const char* what;
    int nth; // among the conversion's allocations through the non-throwing new
};

const FailingAllocation FailingAllocations[] = {
    {"the document wrapper", 1},
    {"the Print Schema helper", 2},
};

using DocumentAllocationTest = MappingTest;

TEST_F(DocumentAllocationTest, EveryConversionGivesOutOfMemoryAndLeavesTheDocument) {
    const std::string ticket = Documents.Ticket(
        R"(<psf:Feature name="psk:JobNUpAllDocumentsContiguously"/>)"
        R"(<psf:Feature name="pv:JobPresentationDirection"/>)"
        R"(<psf:Feature name="psk:JobOutputBin"><psf:Option name="pv:Center"/></psf:Feature>)"
        R"(<psf:Feature name="psk:JobHolePunch"><psf:Option/></psf:Feature>)");
    auto* provider = new PrintTicketProvider;
    ASSERT_EQ(provider->PublishDriverInterface(&coreHelper), S_OK);
    DEVMODEW devmode{};
    BYTE section[12] = {};
    Load(ticket);

    for (const FailingAllocation& failing : FailingAllocations) {
        SCOPED_TRACE(failing.what);
        FailNothrowNew(failing.nth);
        EXPECT_EQ(provider->ConvertDevModeToPrintTicket(sizeof(devmode), &devmode, sizeof(section),
                                                        section, document.Get()),
                  E_OUTOFMEMORY);
        FailNothrowNew(failing.nth);
        EXPECT_EQ(provider->ConvertPrintTicketToDevMode(document.Get(), sizeof(devmode), &devmode,
                                                        sizeof(section), section),
                  E_OUTOFMEMORY);
        FailNothrowNew(failing.nth);
        EXPECT_EQ(provider->CompletePrintCapabilities(nullptr, document.Get()), E_OUTOFMEMORY);
        FailNothrowNew(0);
    }

    EXPECT_EQ(coreHelper.getOptionCalls, 0);
    EXPECT_TRUE(DocumentIs(ticket));
    EXPECT_EQ(provider->Release(), 0u);
}

} // namespace
