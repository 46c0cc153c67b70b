// Watches libxml2's own allocations (through xmlMemSetup) while an object of
// this class lives: counts the bytes they hold, and can make one of them fail,
// as it does when memory runs out. One at a time, on one thread.
#pragma once

#include <cstddef>

class XmlAllocationHook {
  public:
    XmlAllocationHook();
    ~XmlAllocationHook();
    XmlAllocationHook(const XmlAllocationHook&) = delete;
    XmlAllocationHook& operator=(const XmlAllocationHook&) = delete;

    // Counting from now, the `nth` (1-based) allocation fails; 0 disarms.
    void FailAllocation(long nth);
    // Allocations made since the last FailAllocation.
    long Allocations() const;
    // Bytes held by blocks allocated while the hook lives, now and at most.
    long long HeldBytes() const;
    long long PeakBytes() const;
    // Forgets the peak: from now it is the bytes held now.
    void ResetPeak();
};
