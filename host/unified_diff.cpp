// UnifiedDiff leaves the leading and trailing lines that both texts share to
// plain byte comparison and hands only the lines between them to dtl's diff
// algorithm, each line as the address where it starts in its text: a small
// edit to a large document costs little more than reading it, and no line is
// copied.
#include "unified_diff.h"

#include <dtl/dtl.hpp>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace ptbridge {

namespace {
constexpr size_t npos = std::string_view::npos;
// dtl shows three lines of context around each change; after the last change
// it shows all the lines that are left when at most two more would follow, so
// it looks that many lines past a hunk before it ends the hunk there.
constexpr size_t LeadingContext = dtl::DTL_CONTEXT_SIZE;
constexpr size_t LookAhead = dtl::DTL_SEPARATE_SIZE - 1;
// dtl places a change as late as equal lines allow, which can take it past the
// repeated end tags that follow it into the common end: the window first takes
// this many lines of that end, and more whenever the last hunk then ends
// fewer than LookAhead lines before the window does.
constexpr size_t FirstTrailingLines = 32;

const char* const Bold = "\033[1m";
const char* const Cyan = "\033[36m";
const char* const Red = "\033[31m";
const char* const Green = "\033[32m";
const char* const Plain = "\033[0m";

// A line inside a text whose every line ends with '\n', known by its start.
using Line = const char*;

std::string_view LineText(Line line) {
    const char* end = line;
    while (*end != '\n')
        ++end;
    return std::string_view(line, static_cast<size_t>(end - line));
}

class SameLine : public dtl::Compare<Line> {
  public:
    bool impl(const Line& a, const Line& b) const override {
        for (const char *x = a, *y = b; *x == *y; ++x, ++y) {
            if (*x == '\n')
                return true;
        }
        return false;
    }
};

// The lines dtl compares, seen in a vector of line starts held elsewhere:
// dtl copies its sequences, and a view copies in constant time.
class LineSpan {
  public:
    using iterator = const Line*;
    using const_iterator = const Line*;

    LineSpan(const Line* first, const Line* last) : first_(first), last_(last) {}
    explicit LineSpan(const std::vector<Line>& lines)
        : first_(lines.data()), last_(lines.data() + lines.size()) {}

    const Line* begin() const { return first_; }
    const Line* end() const { return last_; }
    const Line& operator[](size_t index) const { return first_[index]; }

  private:
    const Line* first_;
    const Line* last_;
};

using LineDiff = dtl::Diff<Line, LineSpan, SameLine>;
using Hunks = std::vector<dtl::uniHunk<std::pair<Line, dtl::elemInfo>>>;

// The text itself when it ends with a line end, or a copy in `own` that does.
std::string_view WithFinalLineEnd(std::string_view text, std::string* own) {
    if (text.empty() || text.back() == '\n')
        return text;
    *own = std::string(text) + '\n';
    return *own;
}

// How many bytes `a` and `b` share at their start (or, with `fromEnd`, at
// their end), up to `limit`: compared a block at a time, then byte by byte.
size_t SharedLength(std::string_view a, std::string_view b, size_t limit, bool fromEnd) {
    constexpr size_t Block = 4096;
    auto at = [&](std::string_view text, size_t offset, size_t length) {
        return text.data() + (fromEnd ? text.size() - offset - length : offset);
    };
    size_t equal = 0;
    while (equal + Block <= limit &&
           std::memcmp(at(a, equal, Block), at(b, equal, Block), Block) == 0)
        equal += Block;
    while (equal < limit && *at(a, equal, 1) == *at(b, equal, 1))
        ++equal;
    return equal;
}

// The length of the whole lines that both texts start with.
size_t CommonLeadingLines(std::string_view a, std::string_view b) {
    size_t equal = SharedLength(a, b, std::min(a.size(), b.size()), false);
    size_t lastLineEnd = equal == 0 ? npos : a.rfind('\n', equal - 1);
    return lastLineEnd == npos ? 0 : lastLineEnd + 1;
}

// The length of the end that both texts share outside their first `leading`
// bytes, which may start inside a line.
size_t CommonEnd(std::string_view a, std::string_view b, size_t leading) {
    return SharedLength(a, b, std::min(a.size(), b.size()) - leading, true);
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
    for (; lines > 0 && at < text.size(); --lines)
        at = text.find('\n', at) + 1;
    return at;
}

std::vector<Line> LinesOf(std::string_view text) {
    std::vector<Line> lines;
    lines.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')));
    for (size_t at = 0; at < text.size(); ++at) {
        if (at == 0 || text[at - 1] == '\n')
            lines.push_back(text.data() + at);
    }
    return lines;
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
// lines, and `trailingLines` lines from where the `trailing` bytes of common
// end start: taken by whole lines, they include the line that holds that
// start, so that the window ends at a line end in both texts.
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

class DiffWriter {
  public:
    explicit DiffWriter(bool colour) : colour_(colour) {}

    void Write(const char* colour, std::string_view text, char mark = 0) {
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
        switch (element.second.type) {
        case dtl::SES_ADD:
            Write(Green, LineText(element.first), '+');
            break;
        case dtl::SES_DELETE:
            Write(Red, LineText(element.first), '-');
            break;
        default:
            Write(nullptr, LineText(element.first), ' ');
            break;
        }
    }

    std::string Take() { return std::move(out_); }

  private:
    bool colour_;
    std::string out_;
};

std::string WriteHunks(const Hunks& hunks, size_t linesSkipped, const std::string& beforeLabel,
                       const std::string& afterLabel, bool colour) {
    DiffWriter writer(colour);
    writer.Write(Bold, "--- " + beforeLabel);
    writer.Write(Bold, "+++ " + afterLabel);
    auto lineNumber = [&](long long windowLine) {
        return std::to_string(static_cast<size_t>(windowLine) + linesSkipped);
    };
    for (const auto& hunk : hunks) {
        writer.Write(Cyan, "@@ -" + lineNumber(hunk.a) + "," + std::to_string(hunk.b) + " +" +
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
    std::string ownBefore;
    std::string ownAfter;
    before = WithFinalLineEnd(before, &ownBefore);
    after = WithFinalLineEnd(after, &ownAfter);
    if (before == after)
        return {};
    size_t leading = CommonLeadingLines(before, after);
    size_t trailing = CommonEnd(before, after, leading);
    for (size_t trailingLines = FirstTrailingLines;; trailingLines *= 2) {
        Window window = DifferingLines(before, after, leading, trailing, trailingLines);
        std::vector<Line> beforeLines = LinesOf(window.before);
        std::vector<Line> afterLines = LinesOf(window.after);
        LineDiff diff{LineSpan(beforeLines), LineSpan(afterLines)};
        diff.compose();
        diff.composeUnifiedHunks();
        const Hunks hunks = diff.getUniHunks();
        if (hunks.empty())
            return {};
        size_t lastLine = static_cast<size_t>(hunks.back().a + hunks.back().b - 1);
        if (window.reachesEnd || lastLine + LookAhead <= beforeLines.size())
            return WriteHunks(hunks, window.linesSkipped, beforeLabel, afterLabel, colour);
    }
}

} // namespace ptbridge
