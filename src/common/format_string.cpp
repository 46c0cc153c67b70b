#include "common/format_string.h"

#include <cstdarg>
#include <cstdint>

namespace ptbridge {

namespace {

// Appends characters to the caller's buffer, keeping room for the terminator
// and remembering whether anything had to be dropped.
class BoundedWriter {
  public:
    BoundedWriter(WCHAR* buffer, size_t capacity) : buffer_(buffer), capacity_(capacity) {}

    void Put(WCHAR c) {
        if (length_ + 1 < capacity_)
            buffer_[length_++] = c;
        else
            truncated_ = true;
    }
    void Repeat(WCHAR c, size_t count) {
        for (size_t i = 0; i < count; ++i)
            Put(c);
    }
    bool Finish() {
        buffer_[length_] = 0;
        return !truncated_;
    }

  private:
    WCHAR* buffer_;
    size_t capacity_;
    size_t length_ = 0;
    bool truncated_ = false;
};

struct Conversion {
    bool leftAlign = false;
    bool zeroPad = false;
    bool plusSign = false;
    bool spaceSign = false;
    bool alternate = false;
    size_t width = 0;
    bool hasPrecision = false;
    size_t precision = 0;
    int lengthModifier = 0; // -1 short, 0 int, 1 long, 2 long long
};

size_t ParseNumber(const WCHAR*& p) {
    size_t value = 0;
    while (*p >= '0' && *p <= '9') {
        if (value < MaxBufferChars)
            value = value * 10 + size_t(*p - '0');
        ++p;
    }
    return value;
}

void WritePadded(BoundedWriter& out, const Conversion& spec, const WCHAR* prefix,
                 size_t prefixLength, const WCHAR* body, size_t bodyLength, size_t zeros) {
    size_t content = prefixLength + zeros + bodyLength;
    size_t padding = spec.width > content ? spec.width - content : 0;
    if (!spec.leftAlign && !spec.zeroPad)
        out.Repeat(' ', padding);
    for (size_t i = 0; i < prefixLength; ++i)
        out.Put(prefix[i]);
    if (!spec.leftAlign && spec.zeroPad)
        out.Repeat('0', padding);
    out.Repeat('0', zeros);
    for (size_t i = 0; i < bodyLength; ++i)
        out.Put(body[i]);
    if (spec.leftAlign)
        out.Repeat(' ', padding);
}

void WriteString(BoundedWriter& out, const Conversion& spec, const WCHAR* text) {
    static const WCHAR nullText[] = {'(', 'n', 'u', 'l', 'l', ')', 0};
    if (!text)
        text = nullText;
    size_t length = 0;
    while (text[length] && (!spec.hasPrecision || length < spec.precision))
        ++length;
    Conversion plain = spec;
    plain.zeroPad = false;
    WritePadded(out, plain, nullptr, 0, text, length, 0);
}

void WriteInteger(BoundedWriter& out, Conversion spec, WCHAR conversion, uint64_t magnitude,
                  bool negative) {
    unsigned base = conversion == 'o' ? 8 : (conversion == 'x' || conversion == 'X') ? 16 : 10;
    const char* digitSet = conversion == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    WCHAR digits[32];
    size_t count = 0;
    for (uint64_t v = magnitude; v != 0; v /= base)
        digits[count++] = WCHAR(digitSet[v % base]);
    bool omitZero = spec.hasPrecision && spec.precision == 0 && magnitude == 0;
    if (count == 0 && !omitZero)
        digits[count++] = '0';
    WCHAR body[32];
    for (size_t i = 0; i < count; ++i)
        body[i] = digits[count - 1 - i];

    WCHAR prefix[2];
    size_t prefixLength = 0;
    if (negative)
        prefix[prefixLength++] = '-';
    else if (spec.plusSign && (conversion == 'd' || conversion == 'i'))
        prefix[prefixLength++] = '+';
    else if (spec.spaceSign && (conversion == 'd' || conversion == 'i'))
        prefix[prefixLength++] = ' ';
    if (spec.alternate && magnitude != 0 && base == 16) {
        prefix[prefixLength++] = '0';
        prefix[prefixLength++] = conversion;
    }
    size_t zeros = spec.hasPrecision && spec.precision > count ? spec.precision - count : 0;
    if (spec.alternate && base == 8 && zeros == 0 && (count == 0 || body[0] != '0'))
        zeros = 1;
    if (spec.hasPrecision)
        spec.zeroPad = false;
    WritePadded(out, spec, prefix, prefixLength, body, count, zeros);
}

// Applies one conversion starting after its '%'. Returns false for a
// conversion this formatter does not know.
bool ApplyConversion(BoundedWriter& out, const WCHAR*& p, va_list& args) {
    Conversion spec;
    for (;; ++p) {
        if (*p == '-')
            spec.leftAlign = true;
        else if (*p == '0')
            spec.zeroPad = true;
        else if (*p == '+')
            spec.plusSign = true;
        else if (*p == ' ')
            spec.spaceSign = true;
        else if (*p == '#')
            spec.alternate = true;
        else
            break;
    }
    if (*p == '*') {
        int width = va_arg(args, int);
        spec.leftAlign = spec.leftAlign || width < 0;
        spec.width = width < 0 ? size_t(-int64_t(width)) : size_t(width);
        ++p;
    } else {
        spec.width = ParseNumber(p);
    }
    if (*p == '.') {
        ++p;
        spec.hasPrecision = true;
        if (*p == '*') {
            int precision = va_arg(args, int);
            spec.hasPrecision = precision >= 0;
            spec.precision = precision < 0 ? 0 : size_t(precision);
            ++p;
        } else {
            spec.precision = ParseNumber(p);
        }
    }
    if (*p == 'h') {
        spec.lengthModifier = -1;
        ++p;
    } else if (*p == 'l') {
        spec.lengthModifier = 1;
        if (*++p == 'l') {
            spec.lengthModifier = 2;
            ++p;
        }
    }

    WCHAR conversion = *p;
    if (conversion == 0)
        return false;
    ++p;
    switch (conversion) {
    case '%':
        out.Put('%');
        return true;
    case 's':
        WriteString(out, spec, va_arg(args, const WCHAR*));
        return true;
    case 'd':
    case 'i': {
        int64_t value = spec.lengthModifier == 2   ? va_arg(args, long long)
                        : spec.lengthModifier == 1 ? va_arg(args, long)
                                                   : va_arg(args, int);
        if (spec.lengthModifier == -1)
            value = static_cast<short>(value);
        uint64_t magnitude = value < 0 ? uint64_t(0) - uint64_t(value) : uint64_t(value);
        WriteInteger(out, spec, conversion, magnitude, value < 0);
        return true;
    }
    case 'u':
    case 'x':
    case 'X':
    case 'o': {
        uint64_t value = spec.lengthModifier == 2   ? va_arg(args, unsigned long long)
                         : spec.lengthModifier == 1 ? va_arg(args, unsigned long)
                                                    : va_arg(args, unsigned int);
        if (spec.lengthModifier == -1)
            value = static_cast<unsigned short>(value);
        WriteInteger(out, spec, conversion, value, false);
        return true;
    }
    default:
        return false;
    }
}

} // namespace

HRESULT FormatString(WCHAR* buffer, size_t capacity, const WCHAR* format, ...) {
    if (!buffer || !format || capacity == 0 || capacity > MaxBufferChars)
        return E_INVALIDARG;
    BoundedWriter out(buffer, capacity);
    va_list args;
    va_start(args, format);
    bool applied = true;
    for (const WCHAR* p = format; *p && applied;) {
        if (*p != '%') {
            out.Put(*p++);
            continue;
        }
        ++p;
        applied = ApplyConversion(out, p, args);
    }
    va_end(args);
    bool complete = out.Finish();
    return complete && applied ? S_OK : TextTruncatedResult;
}

HRESULT BoundedLength(const WCHAR* text, size_t maxChars, size_t* length) {
    if (!text || !length)
        return E_INVALIDARG;
    for (size_t n = 0; n < maxChars; ++n) {
        if (text[n] == 0) {
            *length = n;
            return S_OK;
        }
    }
    return E_INVALIDARG;
}

} // namespace ptbridge
