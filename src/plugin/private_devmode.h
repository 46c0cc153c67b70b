// The plug-in's 12-byte section in the DEVMODE's driver-private area.
#pragma once

#include "common/oem_interfaces.h"

namespace ptbridge {

struct OemPrivateDevmode {
    OEM_DMEXTRAHEADER dmOEMExtra;
};
static_assert(sizeof(OemPrivateDevmode) == 12, "the section layout is fixed");

// "QVQV" in memory order: identifies the plug-in and stamps its sections.
constexpr DWORD PrivateDevmodeSignature = 0x56515651;
constexpr DWORD PrivateDevmodeVersion = 1;
constexpr DWORD PrivateDevmodeSize = sizeof(OemPrivateDevmode);

// Writes the default section: size 12, the signature, version 1.
void WriteDefaultPrivateDevmode(OemPrivateDevmode* section);

// Converts `in` into `out`. A section with a foreign signature is replaced by
// the default; a matching one is copied, bounded by both sections' sizes and
// by the 12 bytes a section has, then stamped with size 12 and version 1.
// Returns true when `out` was written; false (nothing written) for a null one.
bool ConvertPrivateDevmode(const OemPrivateDevmode* in, OemPrivateDevmode* out);

} // namespace ptbridge
