#include "text_encoding.h"

#include <cstdint>

namespace {
constexpr char32_t ReplacementCharacter = 0xFFFD;

bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit < 0xDC00;
}
bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit < 0xE000;
}

void AppendUtf8(char32_t code, std::string* out) {
    if (code < 0x80) {
        *out += static_cast<char>(code);
    } else if (code < 0x800) {
        *out += static_cast<char>(0xC0 | (code >> 6));
        *out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *out += static_cast<char>(0xE0 | (code >> 12));
        *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        *out += static_cast<char>(0xF0 | (code >> 18));
        *out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Decodes the sequence at bytes[*index]; false for a malformed, overlong or
// surrogate sequence or a code point beyond U+10FFFF.
bool DecodeUtf8(const std::string& bytes, size_t* index, char32_t* code) {
    auto byte = [&](size_t at) { return static_cast<uint8_t>(bytes[at]); };
    uint8_t lead = byte(*index);
    size_t length = lead < 0x80           ? 1
                    : (lead >> 5) == 0x6  ? 2
                    : (lead >> 4) == 0xE  ? 3
                    : (lead >> 3) == 0x1E ? 4
                                          : 0;
    if (length == 0 || *index + length > bytes.size())
        return false;
    char32_t value = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        uint8_t next = byte(*index + i);
        if ((next & 0xC0) != 0x80)
            return false;
        value = (value << 6) | (next & 0x3F);
    }
    const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < smallest[length] || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000))
        return false;
    *index += length;
    *code = value;
    return true;
}
} // namespace

std::string Utf8FromUtf16(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (IsHighSurrogate(code) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
            code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (IsHighSurrogate(code) || IsLowSurrogate(code))
            code = ReplacementCharacter;
        AppendUtf8(code, &out);
    }
    return out;
}

bool Utf16FromUtf8(const std::string& bytes, std::u16string* text) {
    std::u16string out;
    size_t index = 0;
    while (index < bytes.size()) {
        char32_t code = 0;
        if (!DecodeUtf8(bytes, &index, &code))
            return false;
        if (code >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
    }
    *text = std::move(out);
    return true;
}
