// The Windows test program runs its tests in one COM apartment, as ptbridge.exe does.
#include "common/platform.h"

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr)) {
        std::fprintf(stderr, "CoInitializeEx failed: 0x%08X\n", static_cast<unsigned>(hr));
        return 1;
    }
    int status = RUN_ALL_TESTS();
    CoUninitialize();
    return status;
}
