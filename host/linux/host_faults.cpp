#include "platform_seams.h"

#include "platform_testing.h"

bool HostCallFails(HRESULT* failure) {
    return PlatformShouldFail(PlatformFaultHost, failure) != FALSE;
}
