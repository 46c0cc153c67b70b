// PrettyPrintXml reads the text one piece (a tag, a comment, a processing
// instruction or character data) at a time and writes each line as soon as it
// is known. A first pass finds the elements whose layout is their content;
// the result is the only copy of the text it makes.
#include "pretty_xml.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace ptbridge {

namespace {
constexpr size_t npos = std::string_view::npos;
// Lines are indented by at most this many levels, so that the lines of a
// deeply nested document stay in proportion to it.
constexpr size_t MaxIndentLevels = 30;

enum class PieceKind {
    StartTag,      // <name ...>
    EndTag,        // </name>
    EmptyTag,      // <name .../>
    Standalone,    // declaration, processing instruction, comment, document type
    CharacterData, // text and CDATA sections, as written
};

struct Piece {
    PieceKind kind;
    std::string_view text;
};

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsSpace);
}

// The end of the tag that starts at `start` (one past its '>'), skipping
// quoted attribute values; npos when it is not closed.
size_t TagEnd(std::string_view xml, size_t start) {
    char quote = 0;
    for (size_t at = start + 1; at < xml.size(); ++at) {
        char c = xml[at];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return at + 1;
        }
    }
    return npos;
}

// The end of a construct that starts at `start` with `opening` and closes
// with `closing`; npos when it does not close.
size_t EndAfter(std::string_view xml, size_t start, std::string_view opening,
                std::string_view closing) {
    size_t at = xml.find(closing, start + opening.size());
    return at == npos ? npos : at + closing.size();
}

bool StartsWith(std::string_view xml, size_t at, std::string_view opening) {
    return xml.substr(at, opening.size()) == opening;
}

// The piece that starts at `at`, which is inside `xml`; false when it is
// markup that is not closed.
bool ReadPiece(std::string_view xml, size_t at, Piece* piece) {
    PieceKind kind = PieceKind::Standalone;
    char next = at + 1 < xml.size() ? xml[at + 1] : 0;
    size_t end;
    if (xml[at] != '<') {
        kind = PieceKind::CharacterData;
        end = xml.find('<', at);
        if (end == npos)
            end = xml.size();
    } else if (next == '!' && StartsWith(xml, at, "<!--")) {
        end = EndAfter(xml, at, "<!--", "-->");
    } else if (next == '!' && StartsWith(xml, at, "<![CDATA[")) {
        kind = PieceKind::CharacterData;
        end = EndAfter(xml, at, "<![CDATA[", "]]>");
    } else if (next == '?') {
        end = EndAfter(xml, at, "<?", "?>");
    } else {
        end = TagEnd(xml, at);
        if (end != npos && next == '/')
            kind = PieceKind::EndTag;
        else if (end != npos && next != '!')
            kind = xml[end - 2] == '/' ? PieceKind::EmptyTag : PieceKind::StartTag;
    }
    if (end == npos)
        return false;
    *piece = {kind, xml.substr(at, end - at)};
    return true;
}

// The element name of a start, end or empty-element tag.
std::string_view TagName(std::string_view tag) {
    size_t start = tag[1] == '/' ? 2 : 1;
    size_t end = start;
    while (end < tag.size() && !IsSpace(tag[end]) && tag[end] != '/' && tag[end] != '>')
        ++end;
    return tag.substr(start, end - start);
}

// The value of the attribute `name` in a start or empty-element tag; empty
// when the tag has no such attribute.
std::string_view AttributeValue(std::string_view tag, std::string_view name) {
    size_t at = 1 + TagName(tag).size();
    while (at < tag.size()) {
        while (at < tag.size() && IsSpace(tag[at]))
            ++at;
        size_t nameStart = at;
        while (at < tag.size() && tag[at] != '=' && !IsSpace(tag[at]) && tag[at] != '/' &&
               tag[at] != '>')
            ++at;
        std::string_view attribute = tag.substr(nameStart, at - nameStart);
        while (at < tag.size() && (IsSpace(tag[at]) || tag[at] == '='))
            ++at;
        if (at >= tag.size() || (tag[at] != '"' && tag[at] != '\''))
            return {};
        size_t valueEnd = tag.find(tag[at], at + 1);
        if (valueEnd == npos)
            return {};
        if (attribute == name)
            return tag.substr(at + 1, valueEnd - at - 1);
        at = valueEnd + 1;
    }
    return {};
}

// An element written as it stands, from its start tag to the end of its end tag.
struct Span {
    size_t start;
    size_t end;
};

// The elements whose layout is part of their content, in document order: those
// marked xml:space="preserve", and those that hold text beside other markup
// (mixed content), whose text would change if line breaks and indentation
// went in between. Elements inside such an element are covered by it and may
// be listed too. Empty when the markup does not nest, which the layout itself
// then finds.
std::vector<Span> ElementsKeptAsWritten(std::string_view xml) {
    struct OpenElement {
        std::string_view name;
        size_t start;
        bool preserve;
        bool hasText = false;
        bool hasMarkup = false;
    };
    std::vector<OpenElement> open;
    std::vector<Span> kept;
    Piece piece;
    for (size_t at = 0; at < xml.size() && ReadPiece(xml, at, &piece); at += piece.text.size()) {
        if (piece.kind == PieceKind::CharacterData) {
            if (!open.empty() && !IsBlank(piece.text))
                open.back().hasText = true;
            continue;
        }
        if (piece.kind != PieceKind::EndTag && !open.empty())
            open.back().hasMarkup = true;
        if (piece.kind == PieceKind::StartTag) {
            open.push_back(
                {TagName(piece.text), at, AttributeValue(piece.text, "xml:space") == "preserve"});
        } else if (piece.kind == PieceKind::EndTag) {
            if (open.empty() || open.back().name != TagName(piece.text))
                return {};
            const OpenElement& element = open.back();
            if (element.preserve || (element.hasText && element.hasMarkup))
                kept.push_back({element.start, at + piece.text.size()});
            open.pop_back();
        }
    }
    std::sort(kept.begin(), kept.end(),
              [](const Span& left, const Span& right) { return left.start < right.start; });
    return kept;
}

// What follows a start tag when its element holds character data alone, or
// nothing: the element stays on one line.
struct TextContent {
    size_t end;              // of the character data, where the end tag starts
    std::string_view endTag; // the element's end tag
    bool blank;              // nothing but whitespace
};

bool ReadTextContent(std::string_view xml, std::string_view startTag, size_t start,
                     TextContent* content) {
    content->blank = true;
    Piece piece;
    size_t at = start;
    while (at < xml.size() && ReadPiece(xml, at, &piece)) {
        if (piece.kind != PieceKind::CharacterData) {
            content->end = at;
            content->endTag = piece.text;
            return piece.kind == PieceKind::EndTag && TagName(piece.text) == TagName(startTag);
        }
        content->blank = content->blank && IsBlank(piece.text);
        at += piece.text.size();
    }
    return false;
}

class Layout {
  public:
    explicit Layout(size_t expectedSize) { out_.reserve(expectedSize); }

    void StartLine() { out_.append(2 * std::min(open_.size(), MaxIndentLevels), ' '); }
    void Append(std::string_view text) { out_ += text; }
    void EndLine() { out_ += '\n'; }
    void Line(std::string_view text) {
        StartLine();
        Append(text);
        EndLine();
    }

    void Open(std::string_view startTag) {
        Line(startTag);
        open_.push_back(TagName(startTag));
    }
    // False when the end tag does not close the innermost open element.
    bool Close(std::string_view endTag) {
        if (open_.empty() || open_.back() != TagName(endTag))
            return false;
        open_.pop_back();
        Line(endTag);
        return true;
    }

    bool Complete() const { return open_.empty(); }
    std::string Take() { return std::move(out_); }

  private:
    std::string out_;
    std::vector<std::string_view> open_; // names of the elements not yet closed
};

// Writes the element whose content `content` describes on one line: an
// empty-element tag, or the start tag, the character data that is not blank,
// and the end tag.
void WriteTextOnlyElement(std::string_view xml, std::string_view startTag, size_t contentStart,
                          const TextContent& content, Layout* layout) {
    layout->StartLine();
    if (content.blank) {
        layout->Append(startTag.substr(0, startTag.size() - 1));
        layout->Append("/>");
    } else {
        layout->Append(startTag);
        Piece piece;
        for (size_t at = contentStart; at < content.end; at += piece.text.size()) {
            ReadPiece(xml, at, &piece);
            if (!IsBlank(piece.text))
                layout->Append(piece.text);
        }
        layout->Append(content.endTag);
    }
    layout->EndLine();
}
} // namespace

std::string PrettyPrintXml(std::string_view xml) {
    Layout layout(xml.size());
    const std::vector<Span> keptAsWritten = ElementsKeptAsWritten(xml);
    auto nextKept = keptAsWritten.begin();
    Piece piece;
    size_t at = 0;
    while (at < xml.size()) {
        if (!ReadPiece(xml, at, &piece))
            return std::string(xml);
        const size_t pieceStart = at;
        at += piece.text.size();
        switch (piece.kind) {
        case PieceKind::StartTag: {
            while (nextKept != keptAsWritten.end() && nextKept->start < pieceStart)
                ++nextKept;
            if (nextKept != keptAsWritten.end() && nextKept->start == pieceStart) {
                layout.Line(xml.substr(pieceStart, nextKept->end - pieceStart));
                at = nextKept->end;
                break;
            }
            TextContent content;
            if (ReadTextContent(xml, piece.text, at, &content)) {
                WriteTextOnlyElement(xml, piece.text, at, content, &layout);
                at = content.end + content.endTag.size();
            } else {
                layout.Open(piece.text);
            }
            break;
        }
        case PieceKind::EndTag:
            if (!layout.Close(piece.text))
                return std::string(xml);
            break;
        case PieceKind::CharacterData:
            if (!IsBlank(piece.text))
                layout.Line(piece.text);
            break;
        case PieceKind::EmptyTag:
        case PieceKind::Standalone:
            layout.Line(piece.text);
            break;
        }
    }
    return layout.Complete() ? layout.Take() : std::string(xml);
}

} // namespace ptbridge
