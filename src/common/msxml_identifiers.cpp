// The namespace-manager identifiers, which MinGW-w64's import libraries do not
// define (with Microsoft's SDK they come from msxml6.lib). MinGW-w64 builds only.
#include "common/platform.h"

extern "C" {
const IID IID_IMXNamespaceManager = {
    0xC90352F6, 0x643C, 0x4FBC, {0xBB, 0x23, 0xE9, 0x96, 0xEB, 0x2D, 0x51, 0xFD}};
const CLSID CLSID_MXNamespaceManager60 = {
    0x88D96A11, 0xF192, 0x11D4, {0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5}};
}
