#include "object_memory.h"

#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#define PTBRIDGE_PLAIN_OBJECT_MEMORY 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PTBRIDGE_PLAIN_OBJECT_MEMORY 1
#endif
#endif

#ifdef PTBRIDGE_PLAIN_OBJECT_MEMORY

namespace ptbridge::standin {

void* TakeObjectMemory(size_t size) noexcept {
    return std::malloc(size);
}

void ReturnObjectMemory(void* block, size_t) noexcept {
    std::free(block);
}

bool CheckedAllocation() noexcept {
    return true;
}

} // namespace ptbridge::standin

#else

#if __has_include(<valgrind/valgrind.h>)
#include <valgrind/valgrind.h>
// Under valgrind every block comes from and goes back to the allocator, so
// that memcheck sees each object's end.
#define PTBRIDGE_PLAIN_UNDER_VALGRIND RUNNING_ON_VALGRIND
#else
#define PTBRIDGE_PLAIN_UNDER_VALGRIND 0
#endif

namespace ptbridge::standin {

namespace {
constexpr size_t Granule = 16;
constexpr size_t SizeCount = 8;     // blocks of up to 128 bytes are kept
constexpr unsigned StockLimit = 64; // blocks kept per size and thread

struct FreeBlock {
    FreeBlock* next;
};

// Trivially destructible, so that objects released late in a thread's or the
// process's end still find it usable.
struct Stock {
    FreeBlock* blocks[SizeCount];
    unsigned counts[SizeCount];
};
thread_local Stock stock __attribute__((tls_model("initial-exec")));

// The stock index of a size, SizeCount or more for sizes that are not kept.
size_t IndexOf(size_t size) {
    return size == 0 ? SizeCount : (size - 1) / Granule;
}
} // namespace

void* TakeObjectMemory(size_t size) noexcept {
    size_t index = IndexOf(size);
    if (index >= SizeCount || PTBRIDGE_PLAIN_UNDER_VALGRIND)
        return std::malloc(size);
    if (FreeBlock* block = stock.blocks[index]) {
        stock.blocks[index] = block->next;
        --stock.counts[index];
        return block;
    }
    return std::malloc((index + 1) * Granule);
}

void ReturnObjectMemory(void* block, size_t size) noexcept {
    if (!block)
        return;
    size_t index = IndexOf(size);
    if (index >= SizeCount || stock.counts[index] >= StockLimit || PTBRIDGE_PLAIN_UNDER_VALGRIND) {
        std::free(block);
        return;
    }
    auto freed = static_cast<FreeBlock*>(block);
    freed->next = stock.blocks[index];
    stock.blocks[index] = freed;
    ++stock.counts[index];
}

bool CheckedAllocation() noexcept {
    return PTBRIDGE_PLAIN_UNDER_VALGRIND != 0;
}

} // namespace ptbridge::standin

#endif
