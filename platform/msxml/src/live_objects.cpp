#include "live_objects.h"

#include "msxml_standin.h"
#include "thread_summed_count.h"

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

LONG LiveDomObjectCount() {
    return LiveObjectCount::Total();
}
