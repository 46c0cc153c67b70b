// The start tags of XML text, found by a scan of the text alone: the line a
// DOM element was written on, and the namespace declarations of a document
// changed without touching anything else in it.
#pragma once

#include <string>
#include <vector>

namespace ptbridge {

struct StartTag {
    size_t begin = 0; // the '<'
    size_t end = 0;   // just past the '>'
    int line = 0;
};

// Every start tag (and empty-element tag) in document order. The scan passes
// over comments, CDATA sections, processing instructions, the doctype and end
// tags; in well-formed XML any other '<' opens a start tag.
std::vector<StartTag> StartTags(const std::string& text);

// `text` with every namespace declaration (xmlns or xmlns:prefix) whose URI is
// exactly `from` declaring `to` instead; *replaced counts them.
std::string ReplaceDeclaredNamespace(const std::string& text, const std::string& from,
                                     const std::string& to, size_t* replaced);

} // namespace ptbridge
