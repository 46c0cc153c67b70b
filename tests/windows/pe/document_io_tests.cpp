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
    EXPECT_TRUE(ParseDocument(input, "input.xml", true, &document, &error)) << error;
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

long ChildCount(IXMLDOMNode* node) {
    ComPtr<IXMLDOMNodeList> children;
    long count = -1;
    if (node->get_childNodes(children.Put()) == S_OK)
        children->get_length(&count);
    return count;
}

// MSXML's own default drops white-space-only text at load, outside
// xml:space="preserve"; preserveWhiteSpace keeps it.
TEST(DocumentIoTest, WhiteSpaceOnlyTextIsDroppedUnlessPreserved) {
    const std::string input = "<a>\r\n  <b> x </b>\r\n  <c xml:space=\"preserve\"> </c>\r\n</a>";
    struct Case {
        bool preserveWhiteSpace;
        long childrenOfA;
    };
    for (const Case& c : {Case{false, 2}, Case{true, 5}}) {
        SCOPED_TRACE(c.preserveWhiteSpace ? "preserved" : "default");
        ComPtr<IXMLDOMDocument2> document;
        std::string error;
        ASSERT_TRUE(ParseDocument(input, "input.xml", c.preserveWhiteSpace, &document, &error))
            << error;
        ComPtr<IXMLDOMElement> root;
        ASSERT_EQ(document->get_documentElement(root.Put()), S_OK);
        EXPECT_EQ(ChildCount(root.Get()), c.childrenOfA);
        ComPtr<IXMLDOMNodeList> marked;
        ComPtr<IXMLDOMNode> preserved;
        UniqueBstr name(SysAllocString(W("c")));
        ASSERT_EQ(root->getElementsByTagName(name.Get(), marked.Put()), S_OK);
        ASSERT_EQ(marked->get_item(0, preserved.Put()), S_OK);
        EXPECT_EQ(ChildCount(preserved.Get()), 1) << "xml:space=\"preserve\" keeps its blank text";
    }
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
    EXPECT_FALSE(ParseDocument("<a>\n  <b></a>\n", "broken.xml", false, &document, &error));
    EXPECT_FALSE(document);
    EXPECT_EQ(error.rfind("broken.xml", 0), 0u) << error;
    EXPECT_NE(error.find(": XML error: "), std::string::npos) << error;
}
} // namespace
