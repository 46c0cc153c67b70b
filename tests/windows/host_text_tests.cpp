// The Windows host's text handling, which is portable and so tested natively:
// UTF-8/UTF-16 conversion and the form of the command's output.
#include "text_encoding.h"
#include "windows/serialized_text.h"

#include <gtest/gtest.h>

namespace {
TEST(TextEncodingTest, RoundTripsEveryPlane) {
    const std::string text = "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x96\xA8";
    std::u16string wide;
    ASSERT_TRUE(Utf16FromUtf8(text, &wide));
    EXPECT_EQ(wide, (std::u16string{u'a', 0xE9, 0x4E2D, 0xD83D, 0xDDA8}));
    EXPECT_EQ(Utf8FromUtf16(wide), text);
}

TEST(TextEncodingTest, RefusesBytesThatAreNotUtf8) {
    std::u16string wide = u"kept";
    for (const char* bad : {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80", "\xFF"})
        EXPECT_FALSE(Utf16FromUtf8(std::string("x") + bad, &wide)) << bad;
    EXPECT_EQ(wide, u"kept");
}

TEST(TextEncodingTest, ALoneSurrogateBecomesTheReplacementCharacter) {
    EXPECT_EQ(Utf8FromUtf16(std::u16string{u'a', 0xD800, u'b'}), "a\xEF\xBF\xBD"
                                                                 "b");
    EXPECT_EQ(Utf8FromUtf16(std::u16string{0xDC00}), "\xEF\xBF\xBD");
}

TEST(CommandOutputTest, TheDeclarationNamesUtf8) {
    EXPECT_EQ(AsCommandOutput("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a/>\n");
    EXPECT_EQ(AsCommandOutput("<?xml version='1.0' encoding='UTF-16' standalone='yes'?>\n<a/>"),
              "<?xml version='1.0' encoding='UTF-8' standalone='yes'?>\n<a/>\n");
    EXPECT_EQ(AsCommandOutput("<?xml version=\"1.0\"?><a encoding=\"x\"/>"),
              "<?xml version=\"1.0\"?><a encoding=\"x\"/>\n")
        << "only the declaration's own encoding is rewritten";
    EXPECT_EQ(AsCommandOutput("<a encoding=\"x\"/>"), "<a encoding=\"x\"/>\n");
}

TEST(CommandOutputTest, LineEndsBecomeNewlines) {
    EXPECT_EQ(AsCommandOutput("<a>\r\n\t<b/>\r\n</a>\r\n"), "<a>\n\t<b/>\n</a>\n");
    EXPECT_EQ(AsCommandOutput("<a>\r<b/></a>"), "<a>\n<b/></a>\n");
    EXPECT_EQ(AsCommandOutput(""), "\n");
}
} // namespace
