// A count that many threads change often and tests read now and then: the
// live objects, BSTRs and task-memory blocks of the stand-in platform.
//
// A locked increment of one shared counter waits for every store before it,
// which costs more than the rest of a short-lived object's life. So each
// thread counts in a counter of its own, which only that thread writes, and
// the total is the sum over the threads. Something made on one thread and
// freed on another puts the two counters off by one each; their sum stays
// right. A thread's count moves to a shared remainder when the thread ends.
// `Tag` tells the counts apart: each tag is one count.
#pragma once

#include "windows.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

namespace ptbridge::standin {

template <class Tag> class ThreadSummedCount {
  public:
    static void Add(LONG change) {
        Counter& mine = counter;
        if (!mine.registered || mine.ending)
            return AddSlowly(change);
        mine.count.store(mine.count.load(std::memory_order_relaxed) + change,
                         std::memory_order_relaxed);
    }

    static LONG Total() {
        std::lock_guard<std::mutex> lock(Lock());
        LONG total = Remainder().load();
        for (const Counter* thread : Registry())
            total += thread->count.load(std::memory_order_relaxed);
        return total;
    }

  private:
    // Trivially destructible and constant-initialised, so that it stays
    // usable to the thread's very end and is reached without a call.
    struct Counter {
        std::atomic<LONG> count{0};
        bool registered = false;
        bool ending = false;
    };

    // Moves the thread's count to the remainder when the thread ends.
    struct ThreadEnd {
        ~ThreadEnd() {
            std::lock_guard<std::mutex> lock(Lock());
            auto& registry = Registry();
            registry.erase(std::remove(registry.begin(), registry.end(), &counter), registry.end());
            Remainder().fetch_add(counter.count.load(std::memory_order_relaxed));
            counter.ending = true;
        }
    };

    static void AddSlowly(LONG change) {
        if (!counter.ending) {
            static thread_local ThreadEnd end;
            std::lock_guard<std::mutex> lock(Lock());
            Registry().push_back(&counter);
            counter.registered = true;
        }
        Remainder().fetch_add(change, std::memory_order_relaxed);
    }

    // Never destroyed: things may still be freed while the process ends.
    static std::mutex& Lock() {
        static auto* lock = new std::mutex();
        return *lock;
    }
    static std::vector<Counter*>& Registry() {
        static auto* registry = new std::vector<Counter*>();
        return *registry;
    }
    static std::atomic<LONG>& Remainder() {
        static std::atomic<LONG> remainder{0};
        return remainder;
    }

    static thread_local Counter counter __attribute__((tls_model("initial-exec")));
};

template <class Tag>
thread_local typename ThreadSummedCount<Tag>::Counter ThreadSummedCount<Tag>::counter;

} // namespace ptbridge::standin
