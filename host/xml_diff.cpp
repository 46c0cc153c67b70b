#include "xml_diff.h"

#include <dtl/dtl.hpp>

#include <vector>

namespace {
const char* const Bold = "\033[1m";
const char* const Cyan = "\033[36m";
const char* const Red = "\033[31m";
const char* const Green = "\033[32m";
const char* const Plain = "\033[0m";

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
