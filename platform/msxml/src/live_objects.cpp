#include "live_objects.h"

#include "msxml_standin.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

// Objects come and go at every step of a search, and a locked increment of one
// shared counter would cost more than the rest of the object's life (it waits
// for all of the object's stores). So each thread counts in a counter of its
// own, which only that thread writes, and the live count is the sum of every
// thread's counter. An object released on another thread than the one that
// made it puts the two counters off by one each; their sum stays right.
namespace {
// Trivially destructible and constant-initialised, so that it stays usable to
// the thread's very end and is reached without a call.
struct ThreadCounter {
    std::atomic<LONG> count{0};
    bool registered = false;
    bool ending = false;
};
thread_local ThreadCounter counter __attribute__((tls_model("initial-exec")));

// What ended threads counted, and what threads count while they end.
std::atomic<LONG> retired{0};

std::mutex& RegistryLock() {
    static auto* lock = new std::mutex();
    return *lock;
}
// The counters of the running threads. Never destroyed: objects may still be
// released while the process ends.
std::vector<ThreadCounter*>& Registry() {
    static auto* registry = new std::vector<ThreadCounter*>();
    return *registry;
}

// Moves the thread's count to `retired` when the thread ends.
struct ThreadEnd {
    ~ThreadEnd() {
        std::lock_guard<std::mutex> lock(RegistryLock());
        auto& registry = Registry();
        registry.erase(std::remove(registry.begin(), registry.end(), &counter), registry.end());
        retired.fetch_add(counter.count.load(std::memory_order_relaxed));
        counter.ending = true;
    }
};

void CountSlowly(LONG change) {
    if (!counter.ending) {
        static thread_local ThreadEnd end;
        std::lock_guard<std::mutex> lock(RegistryLock());
        Registry().push_back(&counter);
        counter.registered = true;
    }
    retired.fetch_add(change, std::memory_order_relaxed);
}

void Count(LONG change) {
    if (!counter.registered || counter.ending)
        return CountSlowly(change);
    counter.count.store(counter.count.load(std::memory_order_relaxed) + change,
                        std::memory_order_relaxed);
}
} // namespace

LiveObject::LiveObject() {
    Count(1);
}

LiveObject::~LiveObject() {
    Count(-1);
}

LONG LiveDomObjectCount() {
    std::lock_guard<std::mutex> lock(RegistryLock());
    LONG total = retired.load();
    for (const ThreadCounter* thread : Registry())
        total += thread->count.load(std::memory_order_relaxed);
    return total;
}
