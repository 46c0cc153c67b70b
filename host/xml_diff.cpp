#include "xml_diff.h"

#include <dtl/dtl.hpp>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <vector>

namespace {
const char* const Bold = "\033[1m";
const char* const Cyan = "\033[36m";
const char* const Red = "\033[31m";
const char* const Green = "\033[32m";
const char* const Plain = "\033[0m";

// Removes the whitespace-only text between elements, which the parser keeps
// where an element holds nothing else (as an edit that removes an element's
// last child leaves behind), so that the formatter can indent every element.
void RemoveBlankText(xmlNodePtr node) {
    xmlNodePtr child = node->children;
    while (child) {
        xmlNodePtr next = child->next;
        if (child->type == XML_TEXT_NODE && xmlIsBlankNode(child)) {
            xmlUnlinkNode(child);
            xmlFreeNode(child);
        } else if (child->type == XML_ELEMENT_NODE) {
            RemoveBlankText(child);
        }
        child = next;
    }
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

class DiffWriter {
  public:
    explicit DiffWriter(bool colour) : colour_(colour) {}

    void Line(const char* colour, const std::string& text) {
        if (colour_ && colour)
            out_ += colour + text + Plain;
        else
            out_ += text;
        out_ += '\n';
    }

    template <typename SesElement> void Element(const SesElement& element) {
        switch (element.second.type) {
        case dtl::SES_ADD:
            Line(Green, "+" + element.first);
            break;
        case dtl::SES_DELETE:
            Line(Red, "-" + element.first);
            break;
        default:
            Line(nullptr, " " + element.first);
            break;
        }
    }

    std::string Take() { return std::move(out_); }

  private:
    bool colour_;
    std::string out_;
};
} // namespace

std::string PrettyPrintXml(const std::string& xml) {
    int options = XML_PARSE_NOBLANKS | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    xmlDocPtr document =
        xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, nullptr, options);
    if (!document)
        return xml;
    if (xmlNodePtr root = xmlDocGetRootElement(document))
        RemoveBlankText(root);
    xmlChar* formatted = nullptr;
    int length = 0;
    xmlDocDumpFormatMemoryEnc(document, &formatted, &length, "UTF-8", 1);
    xmlFreeDoc(document);
    if (!formatted)
        return xml;
    std::string result(reinterpret_cast<const char*>(formatted), static_cast<size_t>(length));
    xmlFree(formatted);
    return result;
}

std::string UnifiedDiff(const std::string& before, const std::string& after,
                        const std::string& beforeLabel, const std::string& afterLabel,
                        bool colour) {
    std::vector<std::string> beforeLines = SplitLines(before);
    std::vector<std::string> afterLines = SplitLines(after);
    dtl::Diff<std::string, std::vector<std::string>> diff(beforeLines, afterLines);
    diff.compose();
    diff.composeUnifiedHunks();
    const auto hunks = diff.getUniHunks();
    if (hunks.empty())
        return {};

    DiffWriter writer(colour);
    writer.Line(Bold, "--- " + beforeLabel);
    writer.Line(Bold, "+++ " + afterLabel);
    for (const auto& hunk : hunks) {
        writer.Line(Cyan, "@@ -" + std::to_string(hunk.a) + "," + std::to_string(hunk.b) + " +" +
                              std::to_string(hunk.c) + "," + std::to_string(hunk.d) + " @@");
        for (const auto& element : hunk.common[0])
            writer.Element(element);
        for (const auto& element : hunk.change)
            writer.Element(element);
        for (const auto& element : hunk.common[1])
            writer.Element(element);
    }
    return writer.Take();
}
