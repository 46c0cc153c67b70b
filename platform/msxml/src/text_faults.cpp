#include "text_faults.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace ptbridge::standin {

namespace {
const char* const NulCharacter = "a NUL character, which XML does not allow (a binary file, or "
                                 "UTF-16 without a byte-order mark?)";
const char* const UnpairedSurrogate =
    "an unpaired UTF-16 surrogate: half of a character whose other half is missing";

bool StartsWith(const char* first, size_t length, const char* signature, size_t size) {
    return length >= size && std::memcmp(first, signature, size) == 0;
}

bool IsUtf32(const char* first, size_t length) {
    for (const char* signature : {"\x00\x00\xFE\xFF", "\xFF\xFE\x00\x00", "\x00\x00\x00\x3C",
                                  "\x3C\x00\x00\x00", "\x00\x00\x3C\x00", "\x00\x3C\x00\x00"})
        if (StartsWith(first, length, signature, 4))
            return true;
    return false;
}
} // namespace

TextFaultFinder::TextFaultFinder(const char* first, size_t length, bool utf8)
    : family_(Family::Bytes), markLeft_(StartsWith(first, length, "\xEF\xBB\xBF", 3) ? 3 : 0) {
    if (utf8)
        return;
    if (IsUtf32(first, length) || StartsWith(first, length, "\x4C\x6F\xA7\x94", 4)) {
        family_ = Family::Unchecked; // UTF-32 and EBCDIC: the parser decodes them on its own
    } else if (StartsWith(first, length, "\xFF\xFE", 2) ||
               StartsWith(first, length, "\x3C\x00\x3F\x00", 4)) {
        family_ = Family::Utf16LittleEndian;
        markLeft_ = first[0] == '\xFF' ? 2 : 0;
    } else if (StartsWith(first, length, "\xFE\xFF", 2) ||
               StartsWith(first, length, "\x00\x3C\x00\x3F", 4)) {
        family_ = Family::Utf16BigEndian;
        markLeft_ = first[0] == '\xFE' ? 2 : 0;
    }
}

size_t TextFaultFinder::SoundPart(const char* data, size_t length) {
    if (fault_)
        return 0;
    switch (family_) {
    case Family::Bytes:
        return SoundBytes(data, length);
    case Family::Utf16LittleEndian:
    case Family::Utf16BigEndian:
        return SoundUtf16(data, length);
    case Family::Unchecked:
        break;
    }
    return length;
}

void TextFaultFinder::Finish() {
    if (!fault_ && highPending_)
        Found(UnpairedSurrogate, highLine_, highColumn_);
}

void TextFaultFinder::Found(const char* fault, int line, int column) {
    fault_ = fault;
    line_ = line;
    column_ = column;
}

// UTF-8 and the other encodings that write ASCII as single bytes: a zero byte
// is a NUL. A column is counted for each byte that starts a UTF-8 character;
// the library searches and a loop without branches keep this cheap beside the
// parse.
size_t TextFaultFinder::SoundBytes(const char* data, size_t length) {
    auto nul = static_cast<const char*>(std::memchr(data, 0, length));
    const char* end = nul ? nul : data + length;
    size_t mark = std::min(markLeft_, static_cast<size_t>(end - data));
    markLeft_ -= mark;
    const char* lineStart = data + mark;
    for (const char* at = lineStart;
         (at = static_cast<const char*>(std::memchr(at, '\n', end - at))); ++at) {
        ++line_;
        column_ = 1;
        lineStart = at + 1;
    }
    int characters = 0;
    for (const char* at = lineStart; at < end; ++at)
        characters += (static_cast<unsigned char>(*at) & 0xC0) != 0x80;
    column_ += characters;
    if (nul)
        Found(NulCharacter, line_, column_);
    return static_cast<size_t>(end - data);
}

// A surrogate pair is one character, counted at its high half.
size_t TextFaultFinder::SoundUtf16(const char* data, size_t length) {
    bool little = family_ == Family::Utf16LittleEndian;
    for (size_t i = 0; i < length; ++i) {
        auto byte = static_cast<unsigned char>(data[i]);
        if (carried_ < 0) {
            carried_ = byte;
            continue;
        }
        unsigned unit = little ? (byte << 8 | carried_) : (carried_ << 8 | byte);
        carried_ = -1;
        size_t unitStart = i == 0 ? 0 : i - 1;
        bool high = unit >= 0xD800 && unit <= 0xDBFF;
        bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (highPending_ && !low) {
            Found(UnpairedSurrogate, highLine_, highColumn_);
            return unitStart;
        }
        if (markLeft_ > 0) {
            markLeft_ = 0;
        } else if (unit == 0) {
            Found(NulCharacter, line_, column_);
            return unitStart;
        } else if (low && !highPending_) {
            Found(UnpairedSurrogate, line_, column_);
            return unitStart;
        } else if (low) {
            highPending_ = false;
        } else if (high) {
            highPending_ = true;
            highLine_ = line_;
            highColumn_ = column_++;
        } else if (unit == '\n') {
            ++line_;
            column_ = 1;
        } else {
            ++column_;
        }
    }
    return length;
}

const char* UnreadableStart(const char* first, size_t length) {
    if (IsUtf32(first, length))
        return "UTF-32 is not supported: save the document as UTF-8 or UTF-16";
    for (const char* twoMarks :
         {"\xEF\xBB\xBF\xEF\xBB\xBF", "\xFF\xFE\xFF\xFE", "\xFE\xFF\xFE\xFF"})
        if (StartsWith(first, length, twoMarks, std::strlen(twoMarks)))
            return "the document starts with two byte-order marks: remove one";
    return nullptr;
}

} // namespace ptbridge::standin
