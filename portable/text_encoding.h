// Conversions between UTF-8 and UTF-16, for the host (file names, command
// lines, messages) and the stand-in platform (UTF-8 in its tree, UTF-16 at its
// interfaces). A lone surrogate becomes U+FFFD in UTF-8; bytes that are not
// UTF-8 (malformed, overlong, a surrogate, beyond U+10FFFF) are refused.
#pragma once

#include <cstddef>
#include <string>

namespace ptbridge {

// UTF-16 to UTF-8.
std::string Utf8FromUtf16(const char16_t* text, size_t length);
std::string Utf8FromUtf16(const std::u16string& text);

// Whether the UTF-16 units from `begin` to `end` are, in their UTF-8 form as
// Utf8FromUtf16 makes it, exactly the zero-terminated `utf8`. Compares as it
// goes, without building the UTF-8 form.
bool SameAsUtf8(const char16_t* begin, const char16_t* end, const char* utf8);

// UTF-8 to UTF-16 in two calls: with `out` null, *units receives the number of
// UTF-16 units; then, with *units giving the room in `out`, the units are
// written there. False, with nothing written, for bytes that are not UTF-8 or
// a text that does not fit.
bool Utf16FromUtf8(const char* bytes, size_t length, char16_t* out, size_t* units);

// UTF-8 to UTF-16; false (and *text untouched) for bytes that are not UTF-8.
bool Utf16FromUtf8(const std::string& bytes, std::u16string* text);

} // namespace ptbridge
