// Text crossing the DOM interfaces: UTF-16 BSTRs outside, UTF-8 inside the
// tree. text_encoding.h converts; the tree holds UTF-8 only, since the parser
// refuses anything else and edits arrive through Utf8FromWide.
#pragma once

#include "text_encoding.h"
#include "windows.h"

#include <string>

namespace ptbridge::standin {

// UTF-8 form of a zero-terminated wide string (null reads as empty). Unpaired
// surrogates become U+FFFD.
std::string Utf8FromWide(const WCHAR* text);

// Stores a new BSTR of the UTF-8 text (null reads as empty) in *out: S_OK, or
// E_OUTOFMEMORY with *out null.
HRESULT ReturnBstr(const char* text, BSTR* out);
HRESULT ReturnBstr(const std::string& text, BSTR* out);

} // namespace ptbridge::standin
