// The DOM behaviour suite over MSXML 6. Runs every case in one COM apartment,
// as the plug-in's host does, and ends with a summary: how many cases ran and
// passed, and which known differences were skipped and why. A listed
// difference that names no case of the suite fails the run.
#include "common/platform.h"
#include "wine_differences.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace {
std::string PlatformName() {
    if (!RunningUnderWine())
        return "MSXML 6";
    using WineVersion = const char*(CDECL*)();
    auto version = reinterpret_cast<WineVersion>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")));
    return std::string("Wine ") + (version ? version() : "?") + "'s MSXML 6";
}

// Names of the listed differences that match no case; printed, and counted as
// a failure of the run.
int ReportUnmatchedDifferences(const ::testing::UnitTest& unit) {
    std::set<std::string> cases;
    for (int s = 0; s < unit.total_test_suite_count(); ++s) {
        const ::testing::TestSuite* suite = unit.GetTestSuite(s);
        for (int t = 0; t < suite->total_test_count(); ++t)
            cases.insert(std::string(suite->name()) + "." + suite->GetTestInfo(t)->name());
    }
    int unmatched = 0;
    for (const KnownDifference& difference : KnownDifferences())
        if (!cases.count(difference.test)) {
            std::printf("listed as a known difference but not a case of the suite: %s\n",
                        difference.test);
            ++unmatched;
        }
    return unmatched;
}

void PrintSummary(const ::testing::UnitTest& unit) {
    std::printf("\nDOM behaviour suite on %s: %d cases ran, %d passed, %d failed, "
                "%d skipped as known differences\n",
                PlatformName().c_str(), unit.test_to_run_count(), unit.successful_test_count(),
                unit.failed_test_count(), unit.skipped_test_count());
    for (int s = 0; s < unit.total_test_suite_count(); ++s) {
        const ::testing::TestSuite* suite = unit.GetTestSuite(s);
        for (int t = 0; t < suite->total_test_count(); ++t) {
            const ::testing::TestInfo* test = suite->GetTestInfo(t);
            if (!test->result()->Skipped())
                continue;
            std::string name = std::string(suite->name()) + "." + test->name();
            const KnownDifference* difference = FindKnownDifference(name);
            std::printf("  %s: %s\n", name.c_str(),
                        difference ? DescribeKnownDifference(*difference).c_str() : "skipped");
        }
    }
}
} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr)) {
        std::fprintf(stderr, "CoInitializeEx failed: 0x%08X\n", static_cast<unsigned>(hr));
        return 1;
    }
    int status = RUN_ALL_TESTS();
    CoUninitialize();
    const ::testing::UnitTest& unit = *::testing::UnitTest::GetInstance();
    PrintSummary(unit);
    if (ReportUnmatchedDifferences(unit) > 0)
        status = 1;
    return status;
}
