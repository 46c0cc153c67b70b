// COM base names: GUIDs, IUnknown and IClassFactory, and task memory (blocks
// handed across interfaces, freed by the receiver).
#pragma once

#include "win/guid.h"
#include "win/types.h"
#include "win/unknown.h"

extern "C" {
PTBRIDGE_STANDIN_API LPVOID CoTaskMemAlloc(SIZE_T cb);
PTBRIDGE_STANDIN_API void CoTaskMemFree(LPVOID pv);
}
