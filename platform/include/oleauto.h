// BSTR and VARIANT (OLE Automation). A BSTR points at UTF-16 text preceded by a
// 32-bit byte count and followed by a terminator.
#pragma once

#include "win/types.h"
#include "win/unknown.h"

typedef OLECHAR* BSTR;
typedef uint16_t VARTYPE;

enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_UNKNOWN = 13,
    VT_UI4 = 19,
    VT_INT = 22,
    VT_UINT = 23,
};

typedef struct tagVARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONG lVal;
        SHORT iVal;
        INT intVal;
        ULONG ulVal;
        UINT uintVal;
        VARIANT_BOOL boolVal;
        HRESULT scode;
        BSTR bstrVal;
        IUnknown* punkVal;
        void* byref;
    };
} VARIANT;
typedef VARIANT VARIANTARG;

#define V_VT(v) ((v)->vt)
#define V_I4(v) ((v)->lVal)
#define V_INT(v) ((v)->intVal)
#define V_BOOL(v) ((v)->boolVal)
#define V_BSTR(v) ((v)->bstrVal)
#define V_UNKNOWN(v) ((v)->punkVal)

extern "C" {
PTBRIDGE_STANDIN_API BSTR SysAllocString(const OLECHAR* psz);
PTBRIDGE_STANDIN_API BSTR SysAllocStringLen(const OLECHAR* strIn, UINT ui);
PTBRIDGE_STANDIN_API void SysFreeString(BSTR bstrString);
PTBRIDGE_STANDIN_API UINT SysStringLen(BSTR pbstr);
PTBRIDGE_STANDIN_API UINT SysStringByteLen(BSTR bstr);

PTBRIDGE_STANDIN_API void VariantInit(VARIANTARG* pvarg);
PTBRIDGE_STANDIN_API HRESULT VariantClear(VARIANTARG* pvarg);
PTBRIDGE_STANDIN_API HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc);
PTBRIDGE_STANDIN_API HRESULT VariantChangeType(VARIANTARG* pvargDest, const VARIANTARG* pvarSrc,
                                               USHORT wFlags, VARTYPE vt);
}
