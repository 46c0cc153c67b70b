// The fault hook of the host object's operations: where the platform lets
// tests make calls fail (the stand-in platform), true and *failure set when
// the current call must fail with *failure.
#pragma once

#include "common/platform.h"

bool HostCallFails(HRESULT* failure);
