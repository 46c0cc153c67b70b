// A conversion whose document wrapper cannot be allocated runs no rule and
// reports the shortage.
#include "mapping_test.h"

#include "plugin/print_ticket_provider.h"

#include <new>

namespace {
// When set, the next allocation through the non-throwing operator new fails.
bool failNextNothrowNew = false;
} // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (failNextNothrowNew) {
        failNextNothrowNew = false;
        return nullptr;
    }
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

using DocumentAllocationTest = MappingTest;

TEST_F(DocumentAllocationTest, EveryConversionGivesOutOfMemoryAndLeavesTheDocument) {
    const std::string ticket = Ticket(
        R"(<psf:Feature name="psk:JobNUpAllDocumentsContiguously"/>)"
        R"(<psf:Feature name="pv:JobPresentationDirection"/>)"
        R"(<psf:Feature name="psk:JobOutputBin"><psf:Option name="pv:Center"/></psf:Feature>)"
        R"(<psf:Feature name="psk:JobHolePunch"><psf:Option/></psf:Feature>)");
    auto* provider = new PrintTicketProvider;
    ASSERT_EQ(provider->PublishDriverInterface(&coreHelper), S_OK);
    DEVMODEW devmode{};
    BYTE section[12] = {};
    Load(ticket);

    failNextNothrowNew = true;
    EXPECT_EQ(provider->ConvertDevModeToPrintTicket(sizeof(devmode), &devmode, sizeof(section),
                                                    section, document.Get()),
              E_OUTOFMEMORY);
    failNextNothrowNew = true;
    EXPECT_EQ(provider->ConvertPrintTicketToDevMode(document.Get(), sizeof(devmode), &devmode,
                                                    sizeof(section), section),
              E_OUTOFMEMORY);
    failNextNothrowNew = true;
    EXPECT_EQ(provider->CompletePrintCapabilities(nullptr, document.Get()), E_OUTOFMEMORY);

    EXPECT_EQ(coreHelper.getOptionCalls, 0);
    EXPECT_TRUE(DocumentIs(ticket));
    EXPECT_EQ(provider->Release(), 0u);
}
