// Re-indentation of serialised XML, so that two documents that differ only in
// their layout show the same lines.
#pragma once

#include <string>
#include <string_view>

namespace ptbridge {

// Lays XML out again with one element per line and two spaces of indentation
// per level; whitespace-only text between markup is dropped and an element
// left without content is written as an empty-element tag. It works on the
// text alone, in one pass, relying on the DOM that wrote it for the rest of
// well-formedness; text whose markup is not closed or does not nest is
// returned unchanged.
std::string PrettyPrintXml(std::string_view xml);

} // namespace ptbridge
