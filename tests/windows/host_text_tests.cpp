// The form of the command's output.
#include "windows/serialized_text.h"

#include <gtest/gtest.h>

using namespace ptbridge;

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
} // namespace
