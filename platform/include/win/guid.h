// GUID in the 16-byte Windows layout, and the identifiers of the base interfaces.
#pragma once

#include "types.h"

#include <cstring>

typedef struct _GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
} GUID;

typedef GUID IID;
typedef GUID CLSID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;
typedef const GUID& REFGUID;

static_assert(sizeof(GUID) == 16, "GUID must have the Windows layout");

inline BOOL IsEqualGUID(REFGUID a, REFGUID b) {
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}
#define IsEqualIID(a, b) IsEqualGUID(a, b)
#define IsEqualCLSID(a, b) IsEqualGUID(a, b)

inline bool operator==(REFGUID a, REFGUID b) {
    return IsEqualGUID(a, b) != 0;
}
inline bool operator!=(REFGUID a, REFGUID b) {
    return !(a == b);
}

EXTERN_C PTBRIDGE_STANDIN_API const IID IID_IUnknown;
EXTERN_C PTBRIDGE_STANDIN_API const IID IID_IClassFactory;
