#include "xml_start_tags.h"

#include <cstring>
#include <string>
#include <vector>

namespace ptbridge {

namespace {
// Where the markup that begins at `at` ("<!--", "<?", "<!DOCTYPE") ends, just past it.
size_t PastMarkup(const std::string& text, size_t at) {
    auto past = [&](const char* end) {
        size_t found = text.find(end, at);
        return found == std::string::npos ? text.size() : found + std::strlen(end);
    };
    if (text.compare(at, 4, "<!--") == 0)
        return past("-->");
    if (text.compare(at, 9, "<![CDATA[") == 0)
        return past("]]>");
    if (text.compare(at, 2, "<?") == 0)
        return past("?>");
    // A doctype, whose internal subset may hold '>' inside its brackets.
    int brackets = 0;
    for (size_t i = at; i < text.size(); ++i) {
        if (text[i] == '[')
            ++brackets;
        else if (text[i] == ']')
            --brackets;
        else if (text[i] == '>' && brackets <= 0)
            return i + 1;
    }
    return text.size();
}

// Just past the '>' that ends the tag opened at `at`; a quoted attribute
// value may hold '>'.
size_t PastTag(const std::string& text, size_t at) {
    char quote = '\0';
    for (size_t i = at + 1; i < text.size(); ++i) {
        if (quote) {
            if (text[i] == quote)
                quote = '\0';
        } else if (text[i] == '"' || text[i] == '\'') {
            quote = text[i];
        } else if (text[i] == '>') {
            return i + 1;
        }
    }
    return text.size();
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
} // namespace

std::vector<StartTag> StartTags(const std::string& text) {
    std::vector<StartTag> tags;
    int line = 1;
    size_t counted = 0; // the line breaks before here are counted in `line`
    for (size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at)) {
        char next = at + 1 < text.size() ? text[at + 1] : '\0';
        if (next == '!' || next == '?') {
            at = PastMarkup(text, at);
            continue;
        }
        size_t end = PastTag(text, at);
        if (next != '/') {
            for (; counted < at; ++counted)
                line += text[counted] == '\n';
            tags.push_back({at, end, line});
        }
        at = end;
    }
    return tags;
}

std::string ReplaceDeclaredNamespace(const std::string& text, const std::string& from,
                                     const std::string& to, size_t* replaced) {
    *replaced = 0;
    std::string result;
    size_t copied = 0;
    for (const StartTag& tag : StartTags(text)) {
        size_t at = tag.begin + 1;
        while (at < tag.end && !IsSpace(text[at]) && text[at] != '>' && text[at] != '/')
            ++at;
        // Each attribute: name, '=', a quoted value.
        for (;;) {
            while (at < tag.end && IsSpace(text[at]))
                ++at;
            size_t nameBegin = at;
            while (at < tag.end && !IsSpace(text[at]) && text[at] != '=' && text[at] != '>' &&
                   text[at] != '/')
                ++at;
            std::string name = text.substr(nameBegin, at - nameBegin);
            while (at < tag.end && IsSpace(text[at]))
                ++at;
            if (name.empty() || at >= tag.end || text[at] != '=')
                break;
            ++at;
            while (at < tag.end && IsSpace(text[at]))
                ++at;
            if (at >= tag.end || (text[at] != '"' && text[at] != '\''))
                break;
            size_t valueEnd = text.find(text[at], at + 1);
            if (valueEnd == std::string::npos || valueEnd >= tag.end)
                break;
            size_t valueBegin = at + 1;
            at = valueEnd + 1;
            bool declaration = name == "xmlns" || name.compare(0, 6, "xmlns:") == 0;
            if (!declaration || text.compare(valueBegin, valueEnd - valueBegin, from) != 0 ||
                valueEnd - valueBegin != from.size())
                continue;
            result.append(text, copied, valueBegin - copied);
            result += to;
            copied = valueEnd;
            ++*replaced;
        }
    }
    result.append(text, copied, std::string::npos);
    return result;
}

} // namespace ptbridge
