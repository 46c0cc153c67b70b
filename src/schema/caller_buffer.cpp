#include "schema/caller_buffer.h"

#include "common/format_string.h"

#include <algorithm>

namespace ptbridge {

bool CopyToCallerBuffer(const WCHAR* text, WCHAR* buffer, ULONG* capacity) {
    const WCHAR empty[] = {0};
    if (!text)
        text = empty;
    // A terminator within MaxBufferChars keeps the needed count within a ULONG.
    size_t length = 0;
    if (BoundedLength(text, MaxBufferChars, &length) != S_OK)
        return false;
    const ULONG needed = static_cast<ULONG>(length + 1);
    if (needed > *capacity) {
        *capacity = needed;
        return false;
    }
    if (*capacity > MaxBufferChars)
        return false;
    std::copy(text, text + needed, buffer);
    return true;
}

} // namespace ptbridge
