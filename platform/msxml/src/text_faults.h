// Faults in a document's bytes that the parser reports in the wrong place or
// in the wrong words, found as the text is fed to it: a NUL character (the
// parser reads it as the end of the text and calls the document empty) and an
// unpaired UTF-16 surrogate (the parser's decoder works ahead of it, so it
// names an earlier place). Also the starts of documents the parser cannot
// read at all: UTF-32 and two byte-order marks.
#pragma once

#include <cstddef>

namespace ptbridge::standin {

class TextFaultFinder {
  public:
    // The encoding is judged from the first bytes as the parser judges it: a
    // byte-order mark, or "<?" in UTF-16; `utf8` says the text is UTF-8
    // whatever it starts with.
    TextFaultFinder(const char* first, size_t length, bool utf8);

    // Follows the next piece of the text; the length of its part before the
    // first fault, all of it while there is none.
    size_t SoundPart(const char* data, size_t length);
    // At the end of the text: a high surrogate that no low one followed.
    void Finish();

    // The fault in the user's words; null while there is none.
    const char* Fault() const { return fault_; }
    // Where the fault is, counted as the parser counts: a line feed starts a
    // line, a column is a character.
    int Line() const { return line_; }
    int Column() const { return column_; }

  private:
    enum class Family { Bytes, Utf16LittleEndian, Utf16BigEndian, Unchecked };

    size_t SoundBytes(const char* data, size_t length);
    size_t SoundUtf16(const char* data, size_t length);
    void Found(const char* fault, int line, int column);

    Family family_;
    size_t markLeft_; // bytes of the byte-order mark not yet passed, which take no column
    int line_ = 1;
    int column_ = 1;
    int carried_ = -1; // the first byte of a UTF-16 unit split between pieces
    bool highPending_ = false;
    int highLine_ = 0;
    int highColumn_ = 0;
    const char* fault_ = nullptr;
};

// What the first bytes show that the parser cannot read, in the user's words:
// UTF-32, or two byte-order marks. Null for any other start.
const char* UnreadableStart(const char* first, size_t length);

} // namespace ptbridge::standin
