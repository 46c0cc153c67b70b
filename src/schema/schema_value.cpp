#include "schema/schema_value.h"

#include "schema/caller_buffer.h"

bool SchemaValue::GetText(WCHAR* buffer, ULONG* capacity) {
    BSTR text = nullptr;
    if (Element()->get_text(&text) != S_OK) {
        return false;
    }
    const bool copied = CopyToCallerBuffer(text, buffer, capacity);
    SysFreeString(text);
    return copied;
}
