// The text property of nodes.
//
// An element's (or the document's) text joins the content of every text and
// CDATA node below it, in document order; comments and processing
// instructions are left out. Unless the document preserves white space, white
// space at the two ends of the joined text is trimmed, as far as it comes from
// text nodes outside the scope of xml:space="preserve" (the nearest
// xml:space on the text node's ancestors decides): trimming stops at the first
// character that is not white space, at any text under xml:space="preserve",
// and at any CDATA section, whose content is never trimmed. So
// "<m>  x <!--c--> y  </m>" gives "x  y", "<c><![CDATA[  z  ]]></c>" gives
// "  z  ", and "<m> a <![CDATA[ b ]]> c </m>" gives "a  b  c".
//
// Other nodes give their own content as it is: an attribute its value, a
// text, CDATA, comment or processing-instruction node its content.
#pragma once

#include <libxml/tree.h>

#include <string>

namespace ptbridge::standin {

// The text of the node; false when out of memory.
bool NodeText(xmlNodePtr node, bool documentPreservesWhiteSpace, std::string* text);

// Whether the character is XML white space.
inline bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace ptbridge::standin
