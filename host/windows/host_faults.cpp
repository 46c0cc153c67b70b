#include "platform_seams.h"

// The real Windows platform has no fault injection: host calls never fail on demand.
bool HostCallFails(HRESULT*) {
    return false;
}
