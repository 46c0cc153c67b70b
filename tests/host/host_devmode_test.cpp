// The host's DEVMODE and the GetOption answers the plug-in reads back from it.
#include "common/com_ptr.h"
#include "core_helper.h"
#include "host_devmode.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace ptbridge;

namespace {
constexpr DWORD SectionSize = 12;

class GetOptionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        helper_.Attach(HostCoreHelper::Create());
        ASSERT_TRUE(helper_);
    }

    HostDevmode Make(const std::vector<OptionSelection>& selections) {
        HostDevmode devmode;
        EXPECT_EQ(HostDevmode::Build(selections, SectionSize, &devmode), S_OK);
        return devmode;
    }

    HRESULT Ask(HostDevmode& devmode, const char* feature, PCSTR* option) {
        return helper_->GetOption(devmode.Devmode(), devmode.Size(), feature, option);
    }

    ComPtr<HostCoreHelper> helper_;
};

TEST_F(GetOptionTest, AnswersTheStoredSelectionsWithKeywordsInsideTheDevmode) {
    HostDevmode devmode = Make({{"PunchHole", "3Holes"}, {"Punch", "NONE"}});
    PCSTR option = nullptr;
    ASSERT_EQ(Ask(devmode, "PunchHole", &option), S_OK);
    EXPECT_STREQ(option, "3Holes");
    // The keyword lives in the DEVMODE itself, so it stays valid as long as it.
    const char* begin = reinterpret_cast<const char*>(devmode.Devmode());
    EXPECT_GE(option, begin);
    EXPECT_LT(option, begin + devmode.Size());
    ASSERT_EQ(Ask(devmode, "Punch", &option), S_OK);
    EXPECT_STREQ(option, "NONE");
}

TEST_F(GetOptionTest, TheLastSelectionOfARepeatedFeatureCounts) {
    HostDevmode devmode = Make({{"PunchHole", "2Holes"}, {"PunchHole", "4Holes"}});
    PCSTR option = nullptr;
    ASSERT_EQ(Ask(devmode, "PunchHole", &option), S_OK);
    EXPECT_STREQ(option, "4Holes");
}

TEST_F(GetOptionTest, AnUnselectedFeatureIsNotAnAnswer) {
    HostDevmode empty = Make({});
    PCSTR option = "stale";
    EXPECT_EQ(Ask(empty, "PunchHole", &option), S_FALSE);
    EXPECT_EQ(option, nullptr);

    // Feature keywords match whole and case-sensitively.
    HostDevmode devmode = Make({{"PunchHole", "3Holes"}});
    EXPECT_EQ(Ask(devmode, "Punch", &option), S_FALSE);
    EXPECT_EQ(Ask(devmode, "punchhole", &option), S_FALSE);
    EXPECT_EQ(Ask(devmode, "PunchHoles", &option), S_FALSE);
}

TEST_F(GetOptionTest, AWrongSizeFails) {
    HostDevmode devmode = Make({{"PunchHole", "3Holes"}});
    PCSTR option = "stale";
    for (DWORD size : {devmode.Size() - 1, devmode.Size() + 1, DWORD(sizeof(DEVMODEW)), DWORD(0)}) {
        EXPECT_EQ(helper_->GetOption(devmode.Devmode(), size, "PunchHole", &option), E_INVALIDARG)
            << "size " << size;
        EXPECT_EQ(option, nullptr);
    }
}

TEST_F(GetOptionTest, ADevmodeTheHostDidNotMakeFails) {
    // A bare public DEVMODE with no private area.
    DEVMODEW plain{};
    plain.dmSize = sizeof(DEVMODEW);
    PCSTR option = nullptr;
    EXPECT_EQ(helper_->GetOption(&plain, sizeof plain, "PunchHole", &option), E_INVALIDARG);

    // A DEVMODE whose private area belongs to someone else.
    HostDevmode devmode = Make({{"PunchHole", "3Holes"}});
    BYTE* privateArea = reinterpret_cast<BYTE*>(devmode.Devmode()) + sizeof(DEVMODEW);
    privateArea[0] ^= 0xFF;
    EXPECT_EQ(Ask(devmode, "PunchHole", &option), E_INVALIDARG);
}

TEST_F(GetOptionTest, ACorruptedOptionBlockFailsWithoutReadingPastIt) {
    HostDevmode devmode = Make({{"PunchHole", "3Holes"}});
    BYTE* block = reinterpret_cast<BYTE*>(devmode.Devmode()) + sizeof(DEVMODEW);
    DWORD count = 1000; // far more pairs than the block holds
    std::memcpy(block + 8, &count, sizeof count);
    PCSTR option = nullptr;
    EXPECT_EQ(Ask(devmode, "Missing", &option), E_INVALIDARG);

    HostDevmode oversized = Make({{"PunchHole", "3Holes"}});
    block = reinterpret_cast<BYTE*>(oversized.Devmode()) + sizeof(DEVMODEW);
    DWORD blockSize = 0xFFFF; // claims more bytes than dmDriverExtra
    std::memcpy(block + 4, &blockSize, sizeof blockSize);
    EXPECT_EQ(Ask(oversized, "PunchHole", &option), E_INVALIDARG);
}

TEST_F(GetOptionTest, NullArgumentsFail) {
    HostDevmode devmode = Make({{"PunchHole", "3Holes"}});
    PCSTR option = nullptr;
    EXPECT_EQ(helper_->GetOption(nullptr, devmode.Size(), "PunchHole", &option), E_POINTER);
    EXPECT_EQ(Ask(devmode, nullptr, &option), E_POINTER);
    EXPECT_EQ(Ask(devmode, "PunchHole", nullptr), E_POINTER);
}

TEST(HostDevmodeTest, LaysOutThePublicPartTheOptionBlockAndThePluginSection) {
    HostDevmode devmode;
    ASSERT_EQ(HostDevmode::Build({{"PunchHole", "3Holes"}}, 13, &devmode), S_OK);
    const DEVMODEW* publicPart = devmode.Devmode();
    EXPECT_EQ(publicPart->dmSize, sizeof(DEVMODEW));
    EXPECT_EQ(publicPart->dmSpecVersion, DM_SPECVERSION);
    EXPECT_EQ(devmode.Size(), DWORD(publicPart->dmSize) + publicPart->dmDriverExtra);
    EXPECT_EQ(devmode.PluginSectionSize(), 13u);
    EXPECT_EQ(devmode.PluginSection() + 13,
              reinterpret_cast<BYTE*>(devmode.Devmode()) + devmode.Size());
    EXPECT_EQ(reinterpret_cast<uintptr_t>(devmode.PluginSection()) % sizeof(DWORD), 0u);
    for (DWORD i = 0; i < 13; ++i)
        EXPECT_EQ(devmode.PluginSection()[i], 0) << i;
}

TEST(HostDevmodeTest, RefusesSelectionsItCannotStore) {
    HostDevmode devmode;
    EXPECT_EQ(HostDevmode::Build({{"", "3Holes"}}, SectionSize, &devmode), E_INVALIDARG);
    EXPECT_EQ(HostDevmode::Build({{"PunchHole", ""}}, SectionSize, &devmode), E_INVALIDARG);
    EXPECT_EQ(HostDevmode::Build({{std::string("Punch\0Hole", 10), "x"}}, SectionSize, &devmode),
              E_INVALIDARG);
    // dmDriverExtra is a WORD: the private area cannot exceed 65535 bytes.
    EXPECT_EQ(HostDevmode::Build({{"Feature", std::string(70000, 'x')}}, SectionSize, &devmode),
              E_INVALIDARG);
    EXPECT_EQ(HostDevmode::Build({{"Feature", std::string(65000, 'x')}}, 1000, &devmode),
              E_INVALIDARG);
    EXPECT_EQ(HostDevmode::Build({{"Feature", std::string(60000, 'x')}}, SectionSize, &devmode),
              S_OK);
}
} // namespace
