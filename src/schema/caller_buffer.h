// The caller-buffer protocol of the wrappers' text reads: buffers counted in
// 16-bit characters with an in/out capacity that includes the terminator.
#pragma once

#include "common/platform.h"

namespace ptbridge {

// Copies `text` (null reads as empty) with its terminator into `buffer`.
// When the buffer is too small it stays untouched, the needed count (length
// plus one) is stored in *capacity, and the result is false. A capacity above
// MaxBufferChars writes nothing and gives false. The capacity is otherwise
// left as it was.
bool CopyToCallerBuffer(const WCHAR* text, WCHAR* buffer, ULONG* capacity);

} // namespace ptbridge
