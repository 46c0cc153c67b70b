#include "utf_text.h"

#include <climits>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
constexpr char32_t Replacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Writes the UTF-8 bytes of a code point into `bytes`; gives their number.
size_t EncodeUtf8(char32_t code, char* bytes) {
    if (code < 0x80) {
        bytes[0] = static_cast<char>(code);
        return 1;
    }
    if (code < 0x800) {
        bytes[0] = static_cast<char>(0xC0 | (code >> 6));
        bytes[1] = static_cast<char>(0x80 | (code & 0x3F));
        return 2;
    }
    if (code < 0x10000) {
        bytes[0] = static_cast<char>(0xE0 | (code >> 12));
        bytes[1] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        bytes[2] = static_cast<char>(0x80 | (code & 0x3F));
        return 3;
    }
    bytes[0] = static_cast<char>(0xF0 | (code >> 18));
    bytes[1] = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    bytes[2] = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    bytes[3] = static_cast<char>(0x80 | (code & 0x3F));
    return 4;
}

// The code point of the UTF-16 units at *at, advancing *at past them: a
// surrogate pair gives its supplementary code point, an unpaired surrogate
// U+FFFD.
char32_t NextWideCodePoint(const WCHAR*& at, const WCHAR* end) {
    char32_t unit = *at++;
    if (IsHighSurrogate(unit) && at < end && IsLowSurrogate(*at))
        return 0x10000 + ((unit - 0xD800) << 10) + (*at++ - 0xDC00);
    return IsHighSurrogate(unit) || IsLowSurrogate(unit) ? Replacement : unit;
}

// Decodes one code point at text[*at], advancing *at; malformed input gives
// U+FFFD and consumes one byte.
char32_t NextCodePoint(const unsigned char* text, size_t length, size_t* at) {
    unsigned char lead = text[*at];
    if (lead < 0x80) {
        ++*at;
        return lead;
    }
    size_t extra = (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : 0;
    if (extra == 0 || length - *at <= extra) {
        ++*at;
        return Replacement;
    }
    char32_t code = lead & (0x3F >> extra);
    for (size_t i = 1; i <= extra; ++i) {
        unsigned char next = text[*at + i];
        if ((next & 0xC0) != 0x80) {
            ++*at;
            return Replacement;
        }
        code = (code << 6) | (next & 0x3F);
    }
    static const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (code < smallest[extra] || code > 0x10FFFF || IsHighSurrogate(code) ||
        IsLowSurrogate(code)) {
        ++*at;
        return Replacement;
    }
    *at += extra + 1;
    return code;
}

// Checks eight bytes at a time: text read back from the DOM is often long.
bool IsAscii(const char* text, size_t length) {
    size_t at = 0;
    for (; at + sizeof(uint64_t) <= length; at += sizeof(uint64_t)) {
        uint64_t word;
        std::memcpy(&word, text + at, sizeof word);
        if (word & 0x8080808080808080u)
            return false;
    }
    for (; at < length; ++at)
        if (static_cast<unsigned char>(text[at]) >= 0x80)
            return false;
    return true;
}

// Widens ASCII text unit for unit, sixteen bytes at a time: attribute values
// and texts read back by searches are mostly a few dozen bytes long.
void WidenAscii(const char* text, size_t length, WCHAR* out) {
    size_t at = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; at + 16 <= length; at += 16) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + at), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + at + 8),
                         _mm_unpackhi_epi8(bytes, zero));
    }
#endif
    for (; at < length; ++at)
        out[at] = static_cast<unsigned char>(text[at]);
}

template <class Emit> void DecodeUtf8(const char* text, size_t length, Emit emit) {
    auto bytes = reinterpret_cast<const unsigned char*>(text);
    size_t at = 0;
    while (at < length) {
        char32_t code = NextCodePoint(bytes, length, &at);
        if (code >= 0x10000) {
            code -= 0x10000;
            emit(static_cast<char16_t>(0xD800 + (code >> 10)));
            emit(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            emit(static_cast<char16_t>(code));
        }
    }
}
} // namespace

size_t WideLength(const WCHAR* text) {
    size_t length = 0;
    if (text)
        while (text[length])
            ++length;
    return length;
}

std::string Utf8FromWide(const WCHAR* text) {
    std::string out;
    size_t length = WideLength(text);
    out.reserve(length);
    const WCHAR* end = text + length;
    for (const WCHAR* at = text; at < end;) {
        char bytes[4];
        out.append(bytes, EncodeUtf8(NextWideCodePoint(at, end), bytes));
    }
    return out;
}

bool SameAsUtf8(const WCHAR* begin, const WCHAR* end, const char* utf8) {
    const char* other = utf8;
    for (const WCHAR* at = begin; at < end;) {
        if (*at < 0x80) {
            if (*other++ != static_cast<char>(*at++))
                return false;
            continue;
        }
        char bytes[4];
        size_t count = EncodeUtf8(NextWideCodePoint(at, end), bytes);
        for (size_t i = 0; i < count; ++i)
            if (*other++ != bytes[i])
                return false;
    }
    return *other == 0;
}

std::u16string WideFromUtf8(const char* text, size_t length) {
    std::u16string out;
    out.reserve(length);
    DecodeUtf8(text, length, [&out](char16_t unit) { out += unit; });
    return out;
}

std::u16string WideFromUtf8(const char* text) {
    return text ? WideFromUtf8(text, std::strlen(text)) : std::u16string();
}

BSTR BstrFromUtf8(const char* text, size_t length) {
    if (length > UINT_MAX)
        return nullptr;
    // Markup and names are mostly ASCII, which widens unit for unit.
    if (IsAscii(text, length)) {
        BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(length));
        if (!out)
            return nullptr;
        WidenAscii(text, length, out);
        return out;
    }
    UINT units = 0;
    DecodeUtf8(text, length, [&units](char16_t) { ++units; });
    BSTR out = SysAllocStringLen(nullptr, units);
    if (!out)
        return nullptr;
    UINT at = 0;
    DecodeUtf8(text, length, [out, &at](char16_t unit) { out[at++] = unit; });
    return out;
}

BSTR BstrFromUtf8(const char* text) {
    return text ? BstrFromUtf8(text, std::strlen(text)) : BstrFromUtf8("", 0);
}

HRESULT ReturnBstr(const char* text, BSTR* out) {
    *out = BstrFromUtf8(text);
    return *out ? S_OK : E_OUTOFMEMORY;
}
