// The Windows host's text handling, which is portable and so tested natively:
// the form of the command's output, and the re-indentation that --diff uses
// where libxml2 is not available.
#include "pretty_xml.h"
#include "serialized_text.h"

#include <gtest/gtest.h>

namespace {
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

TEST(ReindentTest, OneElementPerLineTwoSpacesPerLevel) {
    EXPECT_EQ(PrettyPrintXml("<?xml version=\"1.0\"?>\r\n<a x=\"1\">\r\n\t<b><c/></b>"
                             "<!-- note --><v>2</v></a>"),
              "<?xml version=\"1.0\"?>\n"
              "<a x=\"1\">\n"
              "  <b>\n"
              "    <c/>\n"
              "  </b>\n"
              "  <!-- note -->\n"
              "  <v>2</v>\n"
              "</a>\n");
}

TEST(ReindentTest, AnElementLeftEmptyBecomesAnEmptyElementTag) {
    EXPECT_EQ(PrettyPrintXml("<a>\n  <b name=\"x\">\n  </b>\n</a>"),
              "<a>\n  <b name=\"x\"/>\n</a>\n");
}

TEST(ReindentTest, MarkupInsideValuesCommentsAndCdataIsText) {
    EXPECT_EQ(PrettyPrintXml("<a t='>/'><b><![CDATA[<x>]]></b><!-- <c> --></a>"),
              "<a t='>/'>\n  <b><![CDATA[<x>]]></b>\n  <!-- <c> -->\n</a>\n");
}

TEST(ReindentTest, TextThatDoesNotParseIsReturnedUnchanged) {
    for (const char* broken :
         {"<a><b></a>", "<a><b></c></a>", "<a", "</a>", "<a><!-- x </a>", "<a>"})
        EXPECT_EQ(PrettyPrintXml(broken), broken);
}
} // namespace
