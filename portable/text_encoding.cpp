#include "text_encoding.h"

#include <cstdint>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ptbridge {

namespace {
constexpr char32_t ReplacementCharacter = 0xFFFD;

bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit < 0xDC00;
}
bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit < 0xE000;
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
// surrogate pair gives its supplementary code point, a lone surrogate U+FFFD.
char32_t NextUtf16CodePoint(const char16_t*& at, const char16_t* end) {
    char32_t unit = *at++;
    if (IsHighSurrogate(unit) && at < end && IsLowSurrogate(*at))
        return 0x10000 + ((unit - 0xD800) << 10) + (*at++ - 0xDC00);
    return IsHighSurrogate(unit) || IsLowSurrogate(unit) ? ReplacementCharacter : unit;
}

// Decodes the sequence at bytes[*index]; false for a malformed, overlong or
// surrogate sequence or a code point beyond U+10FFFF.
bool NextUtf8CodePoint(const char* bytes, size_t length, size_t* index, char32_t* code) {
    auto byte = [&](size_t at) { return static_cast<uint8_t>(bytes[at]); };
    uint8_t lead = byte(*index);
    size_t size = lead < 0x80           ? 1
                  : (lead >> 5) == 0x6  ? 2
                  : (lead >> 4) == 0xE  ? 3
                  : (lead >> 3) == 0x1E ? 4
                                        : 0;
    if (size == 0 || length - *index < size)
        return false;
    char32_t value = size == 1 ? lead : lead & (0x7F >> size);
    for (size_t i = 1; i < size; ++i) {
        uint8_t next = byte(*index + i);
        if ((next & 0xC0) != 0x80)
            return false;
        value = (value << 6) | (next & 0x3F);
    }
    const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < smallest[size] || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000))
        return false;
    *index += size;
    *code = value;
    return true;
}

// Hands each UTF-16 unit of UTF-8 text to `emit`; false at the first sequence
// that is not UTF-8.
template <class Emit> bool DecodeUtf8(const char* bytes, size_t length, Emit emit) {
    size_t index = 0;
    while (index < length) {
        char32_t code = 0;
        if (!NextUtf8CodePoint(bytes, length, &index, &code))
            return false;
        if (code >= 0x10000) {
            emit(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            emit(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            emit(static_cast<char16_t>(code));
        }
    }
    return true;
}

// Checks eight bytes at a time: text read back from a document is often long.
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
void WidenAscii(const char* text, size_t length, char16_t* out) {
    size_t at = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; at + 16 <= length; at += 16) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + at), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + at + 8), _mm_unpackhi_epi8(bytes, zero));
    }
#endif
    for (; at < length; ++at)
        out[at] = static_cast<unsigned char>(text[at]);
}
} // namespace

std::string Utf8FromUtf16(const char16_t* text, size_t length) {
    std::string out;
    out.reserve(length);
    const char16_t* end = text + length;
    for (const char16_t* at = text; at < end;) {
        char bytes[4];
        out.append(bytes, EncodeUtf8(NextUtf16CodePoint(at, end), bytes));
    }
    return out;
}

std::string Utf8FromUtf16(const std::u16string& text) {
    return Utf8FromUtf16(text.data(), text.size());
}

bool SameAsUtf8(const char16_t* begin, const char16_t* end, const char* utf8) {
    const char* other = utf8;
    for (const char16_t* at = begin; at < end;) {
        if (*at < 0x80) {
            if (*other++ != static_cast<char>(*at++))
                return false;
            continue;
        }
        char bytes[4];
        size_t count = EncodeUtf8(NextUtf16CodePoint(at, end), bytes);
        for (size_t i = 0; i < count; ++i)
            if (*other++ != bytes[i])
                return false;
    }
    return *other == 0;
}

bool Utf16FromUtf8(const char* bytes, size_t length, char16_t* out, size_t* units) {
    // Markup and names are mostly ASCII, which widens unit for unit.
    bool ascii = IsAscii(bytes, length);
    size_t needed = ascii ? length : 0;
    if (!ascii && !DecodeUtf8(bytes, length, [&needed](char16_t) { ++needed; }))
        return false;
    if (out) {
        if (*units < needed)
            return false;
        if (ascii)
            WidenAscii(bytes, length, out);
        else
            DecodeUtf8(bytes, length, [&out](char16_t unit) { *out++ = unit; });
    }
    *units = needed;
    return true;
}

bool Utf16FromUtf8(const std::string& bytes, std::u16string* text) {
    std::u16string out;
    if (!DecodeUtf8(bytes.data(), bytes.size(), [&out](char16_t unit) { out += unit; }))
        return false;
    *text = std::move(out);
    return true;
}

} // namespace ptbridge
