#include "live_objects.h"

#include "msxml_standin.h"
#include "thread_summed_count.h"

namespace ptbridge::standin {

namespace {
struct LiveObjects;
using LiveObjectCount = ThreadSummedCount<LiveObjects>;
} // namespace

LiveObject::LiveObject() {
    LiveObjectCount::Add(1);
}

LiveObject::~LiveObject() {
    LiveObjectCount::Add(-1);
}

} // namespace ptbridge::standin

LONG ptbridge::LiveDomObjectCount() {
    return standin::LiveObjectCount::Total();
}
