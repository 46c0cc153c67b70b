// What --diff shows: the re-indented documents, the line diff, which must show
// what dtl shows on the whole texts although it hands dtl only the lines
// between their common ends, and both together on documents that differ in
// layout alone.
#include "pretty_xml.h"
#include "unified_diff.h"
#include "xml_diff.h"

#include <dtl/dtl.hpp>
#include <gtest/gtest.h>

#include <random>
#include <sstream>

using namespace ptbridge;

namespace {
std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

TEST(PrettyPrintXmlTest, LaysOutOneElementPerLine) {
    struct Case {
        const char* name;
        std::string xml;
        const char* expected; // null: returned unchanged
    };
    const Case cases[] = {
        {"two spaces per level, whatever the layout was",
         "<?xml version=\"1.0\"?>\r\n<a x=\"1\">\r\n\t<b><c/></b><!-- note --><v>2</v></a>",
         "<?xml version=\"1.0\"?>\n<a x=\"1\">\n  <b>\n    <c/>\n  </b>\n  <!-- note -->\n"
         "  <v>2</v>\n</a>\n"},
        {"an element left with blank text alone becomes an empty-element tag",
         "<a>\n  <b name=\"x\">\n      \n  </b>\n  <c></c>\n</a>",
         "<a>\n  <b name=\"x\"/>\n  <c/>\n</a>\n"},
        {"character data stays on its element's line, blank pieces dropped",
         "<a><b> x <![CDATA[ ]]>\n</b></a>", "<a>\n  <b> x <![CDATA[ ]]></b>\n</a>\n"},
        {"mixed content stays as written, its text unchanged",
         "<r><a>text <b>\n  x</b>\ntail</a><c> t <!-- n --></c></r>",
         "<r>\n  <a>text <b>\n  x</b>\ntail</a>\n  <c> t <!-- n --></c>\n</r>\n"},
        {"xml:space=\"preserve\" keeps the layout of the element and all inside it",
         "<r><s a='1' xml:space = \"preserve\">\n  <t>  </t> </s><u><v/></u></r>",
         "<r>\n  <s a='1' xml:space = \"preserve\">\n  <t>  </t> </s>\n  <u>\n    <v/>\n  "
         "</u>\n</r>\n"},
        {"xml:space written inside another attribute's value, or not preserve, is no mark",
         "<r><s a=\" xml:space='preserve'\"> <t/> </s><d xml:space='default'> <t/></d></r>",
         "<r>\n  <s a=\" xml:space='preserve'\">\n    <t/>\n  </s>\n  <d "
         "xml:space='default'>\n    <t/>\n  </d>\n</r>\n"},
        {"markup inside values, comments and CDATA is text",
         "<a t='>/' u=\"'\"><b><![CDATA[<x>]]></b><!-- <c> --><?pi <d>?></a>",
         "<a t='>/' u=\"'\">\n  <b><![CDATA[<x>]]></b>\n  <!-- <c> -->\n  <?pi <d>?>\n</a>\n"},
        {"end tag of another element", "<a><b></a>", nullptr},
        {"end tag of an element not open", "<a><b></c></a>", nullptr},
        {"unclosed tag", "<a", nullptr},
        {"unclosed quote", "<a t='x>", nullptr},
        {"end tag alone", "</a>", nullptr},
        {"unclosed comment", "<a><!-- x </a>", nullptr},
        {"unclosed CDATA section", "<a><![CDATA[ x </a>", nullptr},
        {"unclosed element", "<a>", nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PrettyPrintXml(c.xml), c.expected ? c.expected : c.xml) << c.name;

    // Indentation stops growing at 30 levels.
    std::string deep = PrettyPrintXml(Repeat("<a>", 40) + "<x/>" + Repeat("</a>", 40));
    EXPECT_NE(deep.find("\n" + Repeat("  ", 30) + "<x/>\n"), std::string::npos) << deep;
    EXPECT_EQ(deep.find(Repeat("  ", 31)), std::string::npos) << deep;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

// dtl's unified diff of every line of both texts.
std::string WholeTextDiff(const std::string& before, const std::string& after) {
    dtl::Diff<std::string> diff(SplitLines(before), SplitLines(after));
    diff.compose();
    diff.composeUnifiedHunks();
    std::ostringstream hunks;
    diff.printUnifiedFormat(hunks);
    return hunks.str().empty() ? "" : "--- a\n+++ b\n" + hunks.str();
}

std::string Diff(const std::string& before, const std::string& after) {
    return UnifiedDiff(before, after, "a", "b", false);
}

TEST(UnifiedDiffTest, ShowsWhatDtlShowsOnTheWholeTexts) {
    const std::string lines = "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n14\n15\n16\n";
    const std::string tail = Repeat("<t/>\n", 5) + "</r>\n";
    const std::string block = Repeat("  <o/>\n", 40) + "</f>\n";
    std::string numbered;
    for (int line = 1; line <= 3000; ++line)
        numbered += std::to_string(line) + "\n";
    std::string numberedEdited = numbered;
    numberedEdited.replace(numbered.find("\n1500\n"), 6, "\nX\n");
    struct Case {
        const char* name;
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {"equal texts", lines, lines},
        {"texts that differ in their last line end alone", "a\nb", "a\nb\n"},
        {"a change on the first line", lines, "0" + lines.substr(1)},
        {"a change on the last line", lines, lines.substr(0, lines.size() - 3) + "X\n"},
        {"a last line without a line end", "a\nb\nc", "a\nb\nd"},
        {"lines added to nothing", "", lines},
        {"every line removed", lines, ""},
        {"changes close enough to share a hunk", lines, "1\n2\n3\nX\n5\n6\n7\n8\n9\nY\n11\n"},
        {"changes far apart", lines, "X\n" + lines.substr(2, 30) + "Y\n" + lines.substr(34)},
        {"four lines after the last change", "a\nb\nc\nd\n" + tail, "a\nB\nc\nd\n" + tail},
        {"an element removed after one that ends the same way, past the first trailing lines",
         "<r>\nX\n<f>\n" + block + "<g>\n" + block + tail, "<r>\nY\n<f>\n" + block + tail},
        {"a change between common ends longer than the blocks compared at once", numbered,
         numberedEdited},
        {"a line added among many equal lines that follow a change", "p\n" + Repeat("s\n", 100),
         "q\n" + Repeat("s\n", 101)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Diff(c.before, c.after), WholeTextDiff(c.before, c.after)) << c.name;
}

TEST(UnifiedDiffTest, ShowsWhatDtlShowsOnTheWholeTextsAfterRandomEdits) {
    // Few distinct lines, as in XML, so that changes can move among equal lines.
    const char* const pool[] = {"<a>", "</a>", "  <b/>", "  <b/>", "x", ""};
    std::mt19937 random(20240611);
    auto pick = [&](size_t count) {
        return std::uniform_int_distribution<size_t>(0, count)(random);
    };
    for (int round = 0; round < 400; ++round) {
        std::vector<std::string> before;
        for (size_t i = pick(60); i > 0; --i)
            before.push_back(pool[pick(5)]);
        std::vector<std::string> after = before;
        for (size_t edits = pick(4); edits > 0; --edits) {
            size_t at = pick(after.size());
            if (pick(1) == 0 && at < after.size())
                after.erase(after.begin() + static_cast<long>(at));
            else
                after.insert(after.begin() + static_cast<long>(at), pool[pick(5)]);
        }
        std::string beforeText;
        std::string afterText;
        for (const std::string& line : before)
            beforeText += line + "\n";
        for (const std::string& line : after)
            afterText += line + "\n";
        EXPECT_EQ(Diff(beforeText, afterText), WholeTextDiff(beforeText, afterText))
            << "before:\n"
            << beforeText << "after:\n"
            << afterText;
    }
}

TEST(UnifiedDiffTest, WritesLabelsHunkHeadersAndColours) {
    EXPECT_EQ(UnifiedDiff("a\nb\nc\n", "a\nB\nc\n", "old", "new", false),
              "--- old\n+++ new\n@@ -1,3 +1,3 @@\n a\n-b\n+B\n c\n");
    EXPECT_EQ(UnifiedDiff("a\nb\nc\n", "a\nB\nc\n", "old", "new", true),
              "\033[1m--- old\033[0m\n\033[1m+++ new\033[0m\n\033[36m@@ -1,3 +1,3 @@\033[0m\n"
              " a\n\033[31m-b\033[0m\n\033[32m+B\033[0m\n c\n");
}

TEST(DocumentDiffTest, ShowsEditsButNotLayout) {
    EXPECT_EQ(DocumentDiff("<a>\n  <b>\n    \n  </b>\n</a>\n", "<a><b/></a>", "x", "y", false), "");
    EXPECT_EQ(
        DocumentDiff("<a>\n  <b>\n    \n  </b>\n</a>\n", "<a><b/><c>1</c></a>", "x", "y", false),
        "--- x\n+++ y\n@@ -1,3 +1,4 @@\n <a>\n   <b/>\n+  <c>1</c>\n </a>\n");
}
} // namespace
