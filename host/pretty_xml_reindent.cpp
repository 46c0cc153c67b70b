// PrettyPrintXml for platforms without libxml2: it works on the serialised
// text itself, which the DOM has already checked, splitting it into markup and
// text and laying the markup out again.
#include "pretty_xml.h"

#include <vector>

namespace {
enum class TokenKind {
    StartTag,   // <name ...>
    EndTag,     // </name>
    EmptyTag,   // <name .../>
    Standalone, // declaration, processing instruction, comment, document type
    Text,       // character data and CDATA sections, as written
};

struct Token {
    TokenKind kind;
    std::string text;
};

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

// The end of the tag that starts at `start` (one past its '>'), skipping
// quoted attribute values; npos when it is not closed.
size_t TagEnd(const std::string& xml, size_t start) {
    char quote = 0;
    for (size_t i = start + 1; i < xml.size(); ++i) {
        if (quote) {
            if (xml[i] == quote)
                quote = 0;
        } else if (xml[i] == '"' || xml[i] == '\'') {
            quote = xml[i];
        } else if (xml[i] == '>') {
            return i + 1;
        }
    }
    return std::string::npos;
}

// The end of a construct that closes with `terminator`; npos when it does not.
size_t EndAfter(const std::string& xml, size_t start, const char* terminator) {
    size_t at = xml.find(terminator, start);
    return at == std::string::npos ? at : at + std::string(terminator).size();
}

bool Tokenize(const std::string& xml, std::vector<Token>* tokens) {
    size_t at = 0;
    while (at < xml.size()) {
        if (xml[at] != '<') {
            size_t next = xml.find('<', at);
            if (next == std::string::npos)
                next = xml.size();
            tokens->push_back({TokenKind::Text, xml.substr(at, next - at)});
            at = next;
            continue;
        }
        TokenKind kind = TokenKind::Standalone;
        size_t end;
        if (xml.compare(at, 4, "<!--") == 0) {
            end = EndAfter(xml, at + 4, "-->");
        } else if (xml.compare(at, 9, "<![CDATA[") == 0) {
            kind = TokenKind::Text;
            end = EndAfter(xml, at + 9, "]]>");
        } else if (xml.compare(at, 2, "<?") == 0) {
            end = EndAfter(xml, at + 2, "?>");
        } else {
            end = TagEnd(xml, at);
            if (end != std::string::npos && xml[at + 1] == '/')
                kind = TokenKind::EndTag;
            else if (end != std::string::npos && xml[at + 1] != '!')
                kind = xml[end - 2] == '/' ? TokenKind::EmptyTag : TokenKind::StartTag;
        }
        if (end == std::string::npos)
            return false;
        tokens->push_back({kind, xml.substr(at, end - at)});
        at = end;
    }
    return true;
}

// The element name of a start, end or empty-element tag.
std::string TagName(const std::string& tag) {
    size_t start = tag[1] == '/' ? 2 : 1;
    size_t end = tag.find_first_of(" \t\r\n/>", start);
    return tag.substr(start, end - start);
}

// "<name .../>" from "<name ...>".
std::string AsEmptyTag(const std::string& startTag) {
    return startTag.substr(0, startTag.size() - 1) + "/>";
}
} // namespace

std::string PrettyPrintXml(const std::string& xml) {
    std::vector<Token> all;
    if (!Tokenize(xml, &all))
        return xml;
    std::vector<Token> tokens;
    for (Token& token : all) {
        if (token.kind != TokenKind::Text || !IsBlank(token.text))
            tokens.push_back(std::move(token));
    }

    std::string out;
    std::vector<std::string> open; // names of the elements not yet closed
    auto line = [&](const std::string& text) {
        out += std::string(2 * open.size(), ' ') + text + "\n";
    };
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        switch (token.kind) {
        case TokenKind::StartTag: {
            // An element holding nothing, or text alone, stays on one line.
            size_t next = i + 1;
            std::string text;
            while (next < tokens.size() && tokens[next].kind == TokenKind::Text)
                text += tokens[next++].text;
            if (next < tokens.size() && tokens[next].kind == TokenKind::EndTag &&
                TagName(tokens[next].text) == TagName(token.text)) {
                line(text.empty() ? AsEmptyTag(token.text) : token.text + text + tokens[next].text);
                i = next;
            } else {
                line(token.text);
                open.push_back(TagName(token.text));
            }
            break;
        }
        case TokenKind::EndTag:
            if (open.empty() || open.back() != TagName(token.text))
                return xml;
            open.pop_back();
            line(token.text);
            break;
        case TokenKind::EmptyTag:
        case TokenKind::Standalone:
        case TokenKind::Text:
            line(token.text);
            break;
        }
    }
    return open.empty() ? out : xml;
}
