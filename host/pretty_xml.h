// Re-indentation of serialised XML, so that two documents that differ only in
// their layout show the same lines.
#pragma once

#include <string>
#include <string_view>

namespace ptbridge {

// Lays XML out again with one element per line and two spaces of indentation
// per level; whitespace-only text between markup is dropped and an element
// left without content is written as an empty-element tag. An element that
// holds character data alone stays on one line. Where layout is content, in
// an element marked xml:space="preserve" or one that holds text beside other
// markup, the element is written as it stands, on its own line(s), so that no
// text changes. It works on the text alone, relying on the DOM that wrote it
// for the rest of well-formedness; text whose markup is not closed or does not
// nest is returned unchanged.
std::string PrettyPrintXml(std::string_view xml);

} // namespace ptbridge
