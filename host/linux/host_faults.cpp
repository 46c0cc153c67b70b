#include "platform_seams.h"

#include "platform_testing.h"

namespace ptbridge {

bool HostCallFails(HRESULT* failure) {
    return PlatformShouldFail(PlatformFaultHost, failure) != FALSE;
}

} // namespace ptbridge
