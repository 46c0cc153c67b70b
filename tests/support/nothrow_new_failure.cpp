#include "nothrow_new_failure.h"

#include <new>

namespace {
// Allocations to go until the one that fails; 0 when none is to fail.
int allocationsUntilFailure = 0;
} // namespace

void FailNothrowNew(int nth) {
    allocationsUntilFailure = nth;
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (allocationsUntilFailure > 0 && --allocationsUntilFailure == 0)
        return nullptr;
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
