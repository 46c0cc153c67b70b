// Checks on the document text a conversion leaves behind.
#pragma once

#include <string>

// Whether `xml` is a well-formed document whose prefixes are all declared.
// Depth is not limited, since a document built through the DOM can nest
// deeper than a loader accepts. On failure `*problem` says why.
bool IsWellFormedXml(const std::string& xml, std::string* problem = nullptr);

// Canonical text of `xml` without whitespace-only text, for comparing
// documents; unparsable text gives a description of itself.
std::string CanonicalForm(const std::string& xml);

// What a conversion's success promises about a document, in canonical form:
// the document without the scored properties of the options of "JobOutputBin"
// and "JobHolePunch" (a failing platform call may skip a bin type, and a
// device option that cannot be read gives a hole count of 0), followed by the
// number of complete hole-count values (type and integer text) in the first
// option of "JobHolePunch". Unparsable text gives a description of itself.
std::string SuccessSkeleton(const std::string& xml);
