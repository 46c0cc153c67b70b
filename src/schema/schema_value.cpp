#include "schema/schema_value.h"

#include "schema/caller_buffer.h"

namespace ptbridge {

bool SchemaValue::GetText(WCHAR* buffer, ULONG* capacity) {
    UniqueBstr text;
    if (Element()->get_text(text.Put()) != S_OK)
        return false;
    return CopyToCallerBuffer(text.Get(), buffer, capacity);
}

} // namespace ptbridge
