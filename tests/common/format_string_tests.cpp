// Bounded formatting: printf results, truncation, limits and result codes.
#include "common/format_string.h"

#include <gtest/gtest.h>

#include <string>

using namespace ptbridge;

namespace {

std::u16string Text(const WCHAR* s) {
    return std::u16string(reinterpret_cast<const char16_t*>(s));
}

TEST(FormatString, WritesStringsAndPercent) {
    WCHAR buffer[32];
    EXPECT_EQ(S_OK, FormatString(buffer, 32, W("%s:%s"), W("psf"), W("Feature")));
    EXPECT_EQ(u"psf:Feature", Text(buffer));
    EXPECT_EQ(S_OK, FormatString(buffer, 32, W("100%%")));
    EXPECT_EQ(u"100%", Text(buffer));
    EXPECT_EQ(S_OK, FormatString(buffer, 32, W("[%-5s|%5s|%.2s]"), W("ab"), W("cd"), W("xyz")));
    EXPECT_EQ(u"[ab   |   cd|xy]", Text(buffer));
}

TEST(FormatString, IntegerConversionsFollowPrintf) {
    WCHAR buffer[64];
    EXPECT_EQ(S_OK, FormatString(buffer, 64, W("%d %i %u"), 0, -42, 7u));
    EXPECT_EQ(u"0 -42 7", Text(buffer));
    EXPECT_EQ(S_OK, FormatString(buffer, 64, W("%d"), int(0x80000000)));
    EXPECT_EQ(u"-2147483648", Text(buffer));
    EXPECT_EQ(S_OK, FormatString(buffer, 64, W("%x %X %#x %o"), 255u, 255u, 255u, 8u));
    EXPECT_EQ(u"ff FF 0xff 10", Text(buffer));
    EXPECT_EQ(S_OK, FormatString(buffer, 64, W("%05d|%-4d|%+d|%.3d"), -12, 3, 5, 7));
    EXPECT_EQ(u"-0012|3   |+5|007", Text(buffer));
    // A space stands where a plus sign would; '+' wins over it.
    EXPECT_EQ(S_OK, FormatString(buffer, 64, W("% d|% d|% +d|% u"), 5, -5, 5, 5u));
    EXPECT_EQ(u" 5|-5|+5|5", Text(buffer));
    EXPECT_EQ(S_OK, FormatString(buffer, 64, W("%lld %hd"), -9000000000LL, 70000));
    EXPECT_EQ(u"-9000000000 4464", Text(buffer));
}

TEST(FormatString, CutsAtCapacityAndAlwaysTerminates) {
    WCHAR buffer[8];
    for (WCHAR& c : buffer)
        c = 'X';
    EXPECT_EQ(HRESULT(0x8007007A), FormatString(buffer, 5, W("%s"), W("abcdef")));
    EXPECT_EQ(u"abcd", Text(buffer));
    EXPECT_EQ(WCHAR('X'), buffer[5]) << "nothing written past the capacity";

    EXPECT_EQ(S_OK, FormatString(buffer, 7, W("%s"), W("abcdef"))) << "exact fit";
    EXPECT_EQ(u"abcdef", Text(buffer));
    EXPECT_EQ(HRESULT(0x8007007A), FormatString(buffer, 1, W("a")));
    EXPECT_EQ(u"", Text(buffer));
}

TEST(FormatString, UnknownConversionLeavesTheTextBeforeIt) {
    WCHAR buffer[16];
    EXPECT_EQ(HRESULT(0x8007007A), FormatString(buffer, 16, W("ab%qcd")));
    EXPECT_EQ(u"ab", Text(buffer));
    EXPECT_EQ(HRESULT(0x8007007A), FormatString(buffer, 16, W("ab%")));
    EXPECT_EQ(u"ab", Text(buffer));
}

TEST(FormatString, RefusesBadCapacitiesWithTheBufferUntouched) {
    WCHAR buffer[4] = {'k', 'e', 'e', 'p'};
    EXPECT_EQ(E_INVALIDARG, FormatString(buffer, 0, W("x")));
    EXPECT_EQ(E_INVALIDARG, FormatString(buffer, size_t(0x80000000), W("x")));
    EXPECT_EQ(E_INVALIDARG, FormatString(buffer, 4, nullptr));
    EXPECT_EQ(E_INVALIDARG, FormatString(nullptr, 4, W("x")));
    EXPECT_EQ(WCHAR('k'), buffer[0]);
}

TEST(BoundedLength, MeasuresWithinTheBound) {
    size_t length = 99;
    EXPECT_EQ(S_OK, BoundedLength(W("abc"), 4, &length));
    EXPECT_EQ(3u, length);
    EXPECT_EQ(E_INVALIDARG, BoundedLength(W("abc"), 3, &length)) << "no terminator within 3";
    EXPECT_EQ(E_INVALIDARG, BoundedLength(nullptr, 10, &length));
    std::u16string long9999(9999, u'a');
    EXPECT_EQ(S_OK, BoundedLength(long9999.c_str(), 10000, &length));
    EXPECT_EQ(9999u, length);
    std::u16string long10000(10000, u'a');
    EXPECT_EQ(E_INVALIDARG, BoundedLength(long10000.c_str(), 10000, &length));
}

} // namespace
