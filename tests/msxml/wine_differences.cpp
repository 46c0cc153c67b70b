#include "wine_differences.h"

#include "common/platform.h"

const std::vector<KnownDifference>& KnownDifferences() {
    static const std::vector<KnownDifference> differences = {
        {"TreeEditTest.AppendRefusesCyclesAttributesStrangersAndASecondRoot",
         KnownDifference::WineDiffers,
         "appendChild of a node's own ancestor returns S_OK and makes a cycle (the next walk of "
         "the tree overflows the stack); MSXML refuses it"},
    };
    return differences;
}

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

const KnownDifference* FindKnownDifference(const std::string& test) {
    for (const KnownDifference& difference : KnownDifferences())
        if (test == difference.test &&
            (difference.kind != KnownDifference::WineDiffers || RunningUnderWine()))
            return &difference;
    return nullptr;
}

std::string DescribeKnownDifference(const KnownDifference& difference) {
    const char* who = difference.kind == KnownDifference::WineDiffers
                          ? "Wine differs from MSXML: "
                          : "stand-in differs from MSXML: ";
    return who + std::string(difference.reason);
}
