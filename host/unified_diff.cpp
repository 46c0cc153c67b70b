// UnifiedDiff leaves the leading and trailing lines that both texts share to
// plain byte comparison, and hands only the lines between them, as numbers
// standing for the distinct lines, to dtl's diff algorithm. A small edit to a
// large document thus costs little more than reading it.
#include "unified_diff.h"

#include <dtl/dtl.hpp>

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace {
constexpr size_t npos = std::string_view::npos;
// dtl shows three lines of context around each change, and after the last
// change all the lines that are left when at most two more would follow: it
// looks that many lines past a change's context before it ends a hunk.
constexpr size_t LeadingContext = dtl::DTL_CONTEXT_SIZE;
constexpr size_t LookAhead = dtl::DTL_SEPARATE_SIZE - 1;
constexpr size_t TrailingContext = dtl::DTL_CONTEXT_SIZE + LookAhead;

const char* const Bold = "\033[1m";
const char* const Cyan = "\033[36m";
const char* const Red = "\033[31m";
const char* const Green = "\033[32m";
const char* const Plain = "\033[0m";

// The length of the whole lines that both texts start with.
size_t CommonLeadingLines(std::string_view a, std::string_view b) {
    size_t shared = std::min(a.size(), b.size());
    size_t equal = static_cast<size_t>(
        std::mismatch(a.begin(), a.begin() + shared, b.begin()).first - a.begin());
    size_t lastLineEnd = equal == 0 ? npos : a.rfind('\n', equal - 1);
    return lastLineEnd == npos ? 0 : lastLineEnd + 1;
}

// The length of the whole lines that both texts end with, outside the first
// `leading` bytes.
size_t CommonTrailingLines(std::string_view a, std::string_view b, size_t leading) {
    size_t shared = std::min(a.size(), b.size()) - leading;
    size_t equal = static_cast<size_t>(
        std::mismatch(a.rbegin(), a.rbegin() + shared, b.rbegin()).first - a.rbegin());
    auto startsLine = [&](std::string_view text) {
        size_t start = text.size() - equal;
        return start == leading || text[start - 1] == '\n';
    };
    if (startsLine(a) && startsLine(b))
        return equal;
    size_t firstLineEnd = a.find('\n', a.size() - equal);
    return firstLineEnd == npos ? 0 : a.size() - firstLineEnd - 1;
}

// The start of the line `lines` lines before the one that starts at `at`,
// or of the first line.
size_t LinesBack(std::string_view text, size_t at, size_t lines) {
    for (; lines > 0 && at > 0; --lines) {
        size_t lineEnd = at < 2 ? npos : text.rfind('\n', at - 2);
        at = lineEnd == npos ? 0 : lineEnd + 1;
    }
    return at;
}

// The end of the line `lines` lines on from the one that starts at `at`, or
// of the text.
size_t LinesOn(std::string_view text, size_t at, size_t lines) {
    for (; lines > 0 && at < text.size(); --lines) {
        size_t lineEnd = text.find('\n', at);
        at = lineEnd == npos ? text.size() : lineEnd + 1;
    }
    return at;
}

// The part of both texts that dtl compares: the lines between their common
// leading and trailing lines, with some of those around them.
struct Window {
    std::string_view before;
    std::string_view after;
    size_t linesSkipped = 0; // common leading lines left out of both
    bool reachesEnd = false; // no trailing line is left out
};

// The window with LeadingContext of the `leading` bytes of common leading
// lines and `trailingLines` of the `trailing` bytes of common trailing lines.
Window DifferingLines(std::string_view before, std::string_view after, size_t leading,
                      size_t trailing, size_t trailingLines) {
    size_t start = LinesBack(before, leading, LeadingContext);
    size_t trailingStart = before.size() - trailing;
    size_t kept = LinesOn(before, trailingStart, trailingLines) - trailingStart;
    Window window;
    window.before = before.substr(start, trailingStart + kept - start);
    window.after = after.substr(start, after.size() - trailing + kept - start);
    window.linesSkipped =
        static_cast<size_t>(std::count(before.begin(), before.begin() + start, '\n'));
    window.reachesEnd = kept == trailing;
    return window;
}

// Numbers each distinct line, so that the diff algorithm compares numbers.
class LineNumbering {
  public:
    std::vector<int> Number(std::string_view text) {
        std::vector<int> numbers;
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == npos)
                end = text.size();
            numbers.push_back(NumberOf(text.substr(start, end - start)));
            start = end + 1;
        }
        return numbers;
    }

    std::string_view Line(int number) const { return lines_[static_cast<size_t>(number)]; }

  private:
    int NumberOf(std::string_view line) {
        auto found = numbers_.try_emplace(line, static_cast<int>(lines_.size()));
        if (found.second)
            lines_.push_back(line);
        return found.first->second;
    }

    std::unordered_map<std::string_view, int> numbers_;
    std::vector<std::string_view> lines_;
};

class DiffWriter {
  public:
    DiffWriter(const LineNumbering& numbering, bool colour)
        : numbering_(numbering), colour_(colour) {}

    void Line(const char* colour, std::string_view text, char mark = 0) {
        if (colour_ && colour)
            out_ += colour;
        if (mark)
            out_ += mark;
        out_ += text;
        if (colour_ && colour)
            out_ += Plain;
        out_ += '\n';
    }

    template <typename SesElement> void Element(const SesElement& element) {
        std::string_view line = numbering_.Line(element.first);
        switch (element.second.type) {
        case dtl::SES_ADD:
            Line(Green, line, '+');
            break;
        case dtl::SES_DELETE:
            Line(Red, line, '-');
            break;
        default:
            Line(nullptr, line, ' ');
            break;
        }
    }

    std::string Take() { return std::move(out_); }

  private:
    const LineNumbering& numbering_;
    bool colour_;
    std::string out_;
};
using Hunks = std::vector<dtl::uniHunk<std::pair<int, dtl::elemInfo>>>;

std::string Write(const Hunks& hunks, const LineNumbering& numbering, size_t linesSkipped,
                  const std::string& beforeLabel, const std::string& afterLabel, bool colour) {
    DiffWriter writer(numbering, colour);
    writer.Line(Bold, "--- " + beforeLabel);
    writer.Line(Bold, "+++ " + afterLabel);
    auto lineNumber = [&](long long windowLine) {
        return std::to_string(static_cast<size_t>(windowLine) + linesSkipped);
    };
    for (const auto& hunk : hunks) {
        writer.Line(Cyan, "@@ -" + lineNumber(hunk.a) + "," + std::to_string(hunk.b) + " +" +
                              lineNumber(hunk.c) + "," + std::to_string(hunk.d) + " @@");
        for (const auto& element : hunk.common[0])
            writer.Element(element);
        for (const auto& element : hunk.change)
            writer.Element(element);
        for (const auto& element : hunk.common[1])
            writer.Element(element);
    }
    return writer.Take();
}
} // namespace

std::string UnifiedDiff(std::string_view before, std::string_view after,
                        const std::string& beforeLabel, const std::string& afterLabel,
                        bool colour) {
    if (before == after)
        return {};
    size_t leading = CommonLeadingLines(before, after);
    size_t trailing = CommonTrailingLines(before, after, leading);
    // dtl places a change as late as equal lines allow, which can take it
    // into the trailing common lines, short of the lines that follow it
    // there: then it compares again with more of them.
    for (size_t trailingLines = TrailingContext;; trailingLines *= 2) {
        Window window = DifferingLines(before, after, leading, trailing, trailingLines);
        LineNumbering numbering;
        std::vector<int> beforeLines = numbering.Number(window.before);
        dtl::Diff<int> diff(beforeLines, numbering.Number(window.after));
        diff.compose();
        diff.composeUnifiedHunks();
        const Hunks hunks = diff.getUniHunks();
        if (hunks.empty())
            return {};
        size_t lastLine = static_cast<size_t>(hunks.back().a + hunks.back().b - 1);
        if (window.reachesEnd || lastLine + LookAhead <= beforeLines.size())
            return Write(hunks, numbering, window.linesSkipped, beforeLabel, afterLabel, colour);
    }
}
