#include "live_objects.h"

#include "msxml_standin.h"

#include <atomic>

namespace {
std::atomic<LONG> liveObjects{0};
}

LiveObject::LiveObject() {
    liveObjects.fetch_add(1, std::memory_order_relaxed);
}

LiveObject::~LiveObject() {
    liveObjects.fetch_sub(1, std::memory_order_relaxed);
}

LONG LiveDomObjectCount() {
    return liveObjects.load();
}
