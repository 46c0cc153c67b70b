// Text crossing the DOM interfaces: UTF-16 BSTRs outside, UTF-8 inside the tree.
#pragma once

#include "windows.h"

#include <string>

// Length in UTF-16 units of a zero-terminated wide string; 0 for null.
size_t WideLength(const WCHAR* text);

// UTF-8 form of a zero-terminated wide string (null reads as empty). Unpaired
// surrogates become U+FFFD.
std::string Utf8FromWide(const WCHAR* text);

// Whether the UTF-16 units from `begin` to `end` (no terminator among them)
// are, in their UTF-8 form as Utf8FromWide makes it, exactly the zero-terminated
// `utf8`. Compares as it goes, without building the UTF-8 form.
bool SameAsUtf8(const WCHAR* begin, const WCHAR* end, const char* utf8);

// UTF-16 form of UTF-8 text; malformed sequences become U+FFFD.
std::u16string WideFromUtf8(const char* text, size_t length);
std::u16string WideFromUtf8(const char* text);

// A new BSTR holding the text (null reads as empty), or null when allocation fails.
BSTR BstrFromUtf8(const char* text, size_t length);
BSTR BstrFromUtf8(const char* text);

// Stores a new BSTR of the text in *out: S_OK, or E_OUTOFMEMORY with *out null.
HRESULT ReturnBstr(const char* text, BSTR* out);
