// Canonical XML (C14N 1.0, comments dropped) of a document's text, so that two
// documents compare equal exactly when they hold the same elements, attributes,
// namespace declarations and text, whatever their indentation.
#pragma once

#include <string>

// Whitespace-only text between elements is dropped before canonicalising.
// Unparsable text gives "<unparsable: " followed by that text, which no
// canonical document equals.
std::string CanonicalXml(const std::string& xml);
