// The Windows host's documents: MSXML 6 parses the bytes of a file as a file,
// and the command writes UTF-8 with "\n" line ends whatever the DOM's habits.
#include "platform_seams.h"

#include <gtest/gtest.h>

#include <string>

using namespace ptbridge;

namespace {
std::string RoundTrip(const std::string& input) {
    ComPtr<IXMLDOMDocument2> document;
    std::string error, output;
    EXPECT_TRUE(ParseDocument(input, "input.xml", &document, &error)) << error;
    if (document) {
        EXPECT_TRUE(SerializeDocument(document.Get(), &output, &error)) << error;
    }
    return output;
}

TEST(DocumentIoTest, KeepsTextAsUtf8AndTheLayoutAsWritten) {
    const std::string text = "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x96\xA8";
    std::string output = RoundTrip("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<a n=\"" + text +
                                   "\">\r\n  <b>" + text + "</b>\r\n</a>\r\n");
    EXPECT_NE(output.find("<a n=\"" + text + "\">\n  <b>" + text + "</b>\n</a>\n"),
              std::string::npos)
        << output;
    EXPECT_EQ(output.find('\r'), std::string::npos) << output;
}

TEST(DocumentIoTest, ADeclaredEncodingIsReadAndTheOutputDeclaresUtf8) {
    std::string output =
        RoundTrip("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a n=\"caf\xE9\"/>");
    EXPECT_NE(output.find("encoding=\"UTF-8\""), std::string::npos) << output;
    EXPECT_NE(output.find("caf\xC3\xA9"), std::string::npos) << output;
    EXPECT_EQ(output.find("ISO-8859-1"), std::string::npos) << output;
}

TEST(DocumentIoTest, MalformedXmlIsReportedWithTheSourceName) {
    ComPtr<IXMLDOMDocument2> document;
    std::string error;
    EXPECT_FALSE(ParseDocument("<a>\n  <b></a>\n", "broken.xml", &document, &error));
    EXPECT_FALSE(document);
    EXPECT_EQ(error.rfind("broken.xml", 0), 0u) << error;
    EXPECT_NE(error.find(": XML error: "), std::string::npos) << error;
}
} // namespace
