#include "platform_seams.h"

namespace ptbridge {

// The real Windows platform has no fault injection: host calls never fail on demand.
bool HostCallFails(HRESULT*) {
    return false;
}

} // namespace ptbridge
