// Conversion of the plug-in's private devmode section, including sections whose
// size field claims more than the host's buffers hold.
#include "plugin/private_devmode.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace ptbridge;

namespace {

OemPrivateDevmode Section(DWORD size, DWORD signature, DWORD version) {
    return OemPrivateDevmode{{size, signature, version}};
}

TEST(ConvertPrivateDevmode, ForeignSignatureGivesTheDefault) {
    OemPrivateDevmode in = Section(12, 0x11111111, 7);
    OemPrivateDevmode out = Section(99, PrivateDevmodeSignature, 5);
    EXPECT_TRUE(ConvertPrivateDevmode(&in, &out));
    EXPECT_EQ(12u, out.dmOEMExtra.dwSize);
    EXPECT_EQ(PrivateDevmodeSignature, out.dmOEMExtra.dwSignature);
    EXPECT_EQ(1u, out.dmOEMExtra.dwVersion);
    EXPECT_EQ(0, std::memcmp("QVQV", &out.dmOEMExtra.dwSignature, 4));
}

TEST(ConvertPrivateDevmode, MatchingSignatureCopiesTheSmallerSize) {
    OemPrivateDevmode in = Section(8, PrivateDevmodeSignature, 7);
    OemPrivateDevmode out = Section(12, PrivateDevmodeSignature, 3);
    EXPECT_TRUE(ConvertPrivateDevmode(&in, &out));
    EXPECT_EQ(12u, out.dmOEMExtra.dwSize);
    EXPECT_EQ(PrivateDevmodeSignature, out.dmOEMExtra.dwSignature);
    EXPECT_EQ(1u, out.dmOEMExtra.dwVersion);
}

TEST(ConvertPrivateDevmode, OversizedSectionsNeverCopyPastTwelveBytes) {
    // Each section sits in a 12-byte slot followed by a guard the copy must not touch.
    struct Slot {
        OemPrivateDevmode section;
        unsigned char guard[16];
    };
    Slot in{Section(0xFFFFFFFF, PrivateDevmodeSignature, 9), {}};
    std::memset(in.guard, 0xAB, sizeof in.guard);
    Slot out{Section(0x1000, PrivateDevmodeSignature, 2), {}};
    std::memset(out.guard, 0xCD, sizeof out.guard);

    EXPECT_TRUE(ConvertPrivateDevmode(&in.section, &out.section));
    for (unsigned char byte : out.guard)
        ASSERT_EQ(0xCD, byte);
    EXPECT_EQ(12u, out.section.dmOEMExtra.dwSize);
    EXPECT_EQ(1u, out.section.dmOEMExtra.dwVersion);
}

TEST(ConvertPrivateDevmode, NullSectionsWriteNothing) {
    OemPrivateDevmode section = Section(1, 2, 3);
    EXPECT_FALSE(ConvertPrivateDevmode(nullptr, &section));
    EXPECT_FALSE(ConvertPrivateDevmode(&section, nullptr));
    EXPECT_EQ(1u, section.dmOEMExtra.dwSize);
    EXPECT_EQ(3u, section.dmOEMExtra.dwVersion);
}

} // namespace
