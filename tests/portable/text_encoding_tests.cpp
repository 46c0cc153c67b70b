// UTF-8/UTF-16 conversion: what the host and the stand-in platform both rely
// on, in the string form and the two-call buffer form.
#include "text_encoding.h"

#include <gtest/gtest.h>

#include <string>

using namespace ptbridge;

namespace {
struct Utf8Case {
    const char* name;
    std::string bytes;
    bool valid;
    std::u16string wide;
};

const Utf8Case Utf8Cases[] = {
    {"every plane",
     "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x96\xA8",
     true,
     {u'a', 0xE9, 0x4E2D, 0xD83D, 0xDDA8}},
    {"ASCII past a 16-byte block", "psf:PrintTicket/psk:JobHolePunch", true,
     u"psf:PrintTicket/psk:JobHolePunch"},
    {"empty", "", true, u""},
    {"truncated sequence", "x\xC3", false, u""},
    {"overlong form", "x\xC0\xAF", false, u""},
    {"encoded surrogate", "x\xED\xA0\x80", false, u""},
    {"beyond U+10FFFF", "x\xF4\x90\x80\x80", false, u""},
    {"lone continuation byte", "x\x80", false, u""},
    {"invalid lead byte", "x\xFF", false, u""},
};

TEST(TextEncodingTest, Utf8BecomesUtf16OrIsRefused) {
    for (const Utf8Case& c : Utf8Cases) {
        SCOPED_TRACE(c.name);
        std::u16string text = u"kept";
        EXPECT_EQ(Utf16FromUtf8(c.bytes, &text), c.valid);
        EXPECT_EQ(text, c.valid ? c.wide : u"kept");

        size_t units = 0;
        ASSERT_EQ(Utf16FromUtf8(c.bytes.data(), c.bytes.size(), nullptr, &units), c.valid);
        if (!c.valid)
            continue;
        EXPECT_EQ(units, c.wide.size());
        EXPECT_EQ(Utf8FromUtf16(c.wide), c.bytes);
        std::u16string buffer(units + 1, u'#');
        if (units > 0) {
            size_t tooSmall = units - 1;
            EXPECT_FALSE(Utf16FromUtf8(c.bytes.data(), c.bytes.size(), &buffer[0], &tooSmall));
            EXPECT_EQ(buffer, std::u16string(units + 1, u'#'));
        }
        ASSERT_TRUE(Utf16FromUtf8(c.bytes.data(), c.bytes.size(), &buffer[0], &units));
        EXPECT_EQ(buffer, c.wide + u'#');
    }
}

TEST(TextEncodingTest, ALoneSurrogateBecomesTheReplacementCharacter) {
    const std::u16string highThenLetter{u'a', 0xD800, u'b'};
    EXPECT_EQ(Utf8FromUtf16(highThenLetter), "a\xEF\xBF\xBD"
                                             "b");
    EXPECT_EQ(Utf8FromUtf16(std::u16string{0xDC00}), "\xEF\xBF\xBD");
    // Names are compared in the same form.
    const char16_t* begin = highThenLetter.data();
    const char16_t* end = begin + highThenLetter.size();
    EXPECT_TRUE(SameAsUtf8(begin, end,
                           "a\xEF\xBF\xBD"
                           "b"));
    EXPECT_FALSE(SameAsUtf8(begin, end, "a\xEF\xBF\xBD"));
    EXPECT_FALSE(SameAsUtf8(begin, end - 1,
                            "a\xEF\xBF\xBD"
                            "b"));
}
} // namespace
