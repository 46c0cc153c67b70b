// Memory for the DOM's COM objects. A search makes and drops a node object at
// nearly every step, so blocks of the small object sizes go back to a stock
// kept per thread instead of to the general allocator, and the next object of
// that size takes one from there. The stock is small and bounded; what it
// holds when a thread ends stays allocated. Sanitizer builds, and any build
// running under valgrind, allocate plainly, so that a use after release is
// still caught.
#pragma once

#include <cstddef>

namespace ptbridge::standin {

// A block of at least `size` bytes, or null when out of memory.
void* TakeObjectMemory(size_t size) noexcept;
// Gives back a block that TakeObjectMemory(size) gave; null is ignored.
void ReturnObjectMemory(void* block, size_t size) noexcept;

// Whether memory is taken plainly from the allocator block by block, so that
// the sanitizer or valgrind sees each block's end: true in sanitizer builds
// and under valgrind.
bool CheckedAllocation() noexcept;

} // namespace ptbridge::standin
