// Text crossing the DOM interfaces: UTF-16 BSTRs outside, UTF-8 inside the
// tree. text_encoding.h converts; the tree holds UTF-8 only, since the parser
// refuses anything else and edits arrive through Utf8FromWide.
#pragma once

#include "text_encoding.h"
#include "windows.h"

#include <string>

namespace ptbridge::standin {

// Length in UTF-16 units of a zero-terminated wide string; 0 for null.
size_t WideLength(const WCHAR* text);

// UTF-8 form of a zero-terminated wide string (null reads as empty). Unpaired
// surrogates become U+FFFD.
std::string Utf8FromWide(const WCHAR* text);

// A new BSTR holding the text (null reads as empty), or null when allocation
// fails or the text is not UTF-8.
BSTR BstrFromUtf8(const char* text, size_t length);
BSTR BstrFromUtf8(const char* text);

// Stores a new BSTR of the text in *out: S_OK, or E_OUTOFMEMORY with *out null.
HRESULT ReturnBstr(const char* text, BSTR* out);
HRESULT ReturnBstr(const std::string& text, BSTR* out);

} // namespace ptbridge::standin
