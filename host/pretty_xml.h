// Re-indentation of serialised XML, so that two documents that differ only in
// their layout show the same lines.
#pragma once

#include <string>

// Re-serialises XML with one element per line and two spaces of indentation
// per level; whitespace-only text between elements is dropped and an element
// left without content is written as an empty-element tag. Text that does not
// parse is returned unchanged.
std::string PrettyPrintXml(const std::string& xml);
