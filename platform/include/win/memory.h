// COM task memory: blocks handed across interfaces, freed by the receiver.
#pragma once

#include "types.h"

extern "C" {
LPVOID CoTaskMemAlloc(SIZE_T cb);
void CoTaskMemFree(LPVOID pv);
}
