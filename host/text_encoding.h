// Conversions between UTF-8, the host's text encoding, and UTF-16, the
// platform's (BSTRs, wide file names, wide command lines).
#pragma once

#include <string>

// UTF-16 to UTF-8. A lone surrogate becomes U+FFFD.
std::string Utf8FromUtf16(const std::u16string& text);

// UTF-8 to UTF-16; false (and *text untouched) for bytes that are not UTF-8.
bool Utf16FromUtf8(const std::string& bytes, std::u16string* text);
