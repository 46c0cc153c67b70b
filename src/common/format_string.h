// Bounded wide-string formatting and measuring, with the result codes of the
// Windows safe-string functions, written once for every build.
#pragma once

#include "common/platform.h"

#include <cstddef>

namespace ptbridge {

// Largest buffer, in characters, that the bounded functions accept.
constexpr size_t MaxBufferChars = 0x7FFFFFFF;
// Result for text that did not fit its buffer (the Win32 insufficient-buffer error).
constexpr HRESULT TextTruncatedResult = HRESULT(0x8007007A);

// Formats into `buffer` with printf rules: %s (a wide string), %%, and the
// integer conversions d i u x X o with flags, width, precision and the h/l/ll
// length modifiers. At most capacity-1 characters are written and the buffer is
// always terminated. E_INVALIDARG (buffer untouched) for a null buffer or
// format, or a capacity of 0 or above MaxBufferChars; TextTruncatedResult when
// the text was cut or the format could not be applied; otherwise S_OK.
HRESULT FormatString(WCHAR* buffer, size_t capacity, const WCHAR* format, ...);

// Measures `text`, looking at no more than `maxChars` characters. S_OK with the
// length when a terminator lies within them; E_INVALIDARG otherwise or for null.
HRESULT BoundedLength(const WCHAR* text, size_t maxChars, size_t* length);

} // namespace ptbridge
