// The parser's errors in the words of a person who edits the document: what
// is wrong and, where it helps, how to put it right, instead of the parser's
// own terms. An error the wording does not know keeps the parser's text.
#pragma once

#include <libxml/xmlerror.h>

#include <string>

namespace ptbridge::standin {

// Where the parse was when the error came.
struct ParsePlace {
    std::string openElement; // the innermost open element's name; empty outside the root
    int openedAtLine = 0;    // the line on which that element's start tag ended; 0 if unknown
    bool rootSeen = false;   // the root element has started
    bool textRead = false;   // the text holds anything beyond a byte-order mark
    bool inStartTag = false; // the parser is within a start tag
};

// Throws std::bad_alloc when memory runs out.
std::string DescribeParseError(const xmlError& error, const ParsePlace& place);

// A text the parser's decoder stopped on: bytes that are not valid in the
// encoding it read the document in (`encoding`, null when unknown).
std::string DescribeUndecodableText(const char* encoding);

} // namespace ptbridge::standin
