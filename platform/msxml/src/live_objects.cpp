#include "live_objects.h"

#include "msxml_standin.h"

#include <atomic>

namespace ptbridge::standin {

namespace {
std::atomic<LONG> liveObjects{0};
} // namespace

LiveObject::LiveObject() {
    ++liveObjects;
}

LiveObject::~LiveObject() {
    --liveObjects;
}

} // namespace ptbridge::standin

LONG ptbridge::LiveDomObjectCount() {
    return standin::liveObjects;
}
