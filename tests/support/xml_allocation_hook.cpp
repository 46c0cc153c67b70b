#include "xml_allocation_hook.h"

#include <libxml/xmlmemory.h>

#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {
struct State {
    xmlFreeFunc free;
    xmlMallocFunc malloc;
    xmlReallocFunc realloc;
    xmlStrdupFunc strdup;
    long failAt = 0;
    long allocations = 0;
    long long held = 0;
    long long peak = 0;
} state;

// Whether this allocation is the one to fail.
bool Fails() {
    return ++state.allocations == state.failAt;
}

void Count(long long change) {
    state.held += change;
    state.peak = std::max(state.peak, state.held);
}

void* CountedMalloc(size_t size) {
    if (Fails())
        return nullptr;
    void* block = std::malloc(size);
    if (block)
        Count(static_cast<long long>(malloc_usable_size(block)));
    return block;
}

void CountedFree(void* block) {
    if (block)
        Count(-static_cast<long long>(malloc_usable_size(block)));
    std::free(block);
}

void* CountedRealloc(void* block, size_t size) {
    if (Fails())
        return nullptr;
    long long before = block ? static_cast<long long>(malloc_usable_size(block)) : 0;
    void* grown = std::realloc(block, size);
    if (grown)
        Count(static_cast<long long>(malloc_usable_size(grown)) - before);
    return grown;
}

char* CountedStrdup(const char* text) {
    size_t size = std::strlen(text) + 1;
    auto copy = static_cast<char*>(CountedMalloc(size));
    if (copy)
        std::memcpy(copy, text, size);
    return copy;
}
} // namespace

// Blocks allocated before the hook and freed while it lives count as negative
// bytes; blocks allocated while it lives and freed after it go to free() all
// the same.
XmlAllocationHook::XmlAllocationHook() {
    xmlMemGet(&state.free, &state.malloc, &state.realloc, &state.strdup);
    state.failAt = state.allocations = 0;
    state.held = state.peak = 0;
    xmlMemSetup(CountedFree, CountedMalloc, CountedRealloc, CountedStrdup);
}

XmlAllocationHook::~XmlAllocationHook() {
    xmlMemSetup(state.free, state.malloc, state.realloc, state.strdup);
}

void XmlAllocationHook::FailAllocation(long nth) {
    state.failAt = nth;
    state.allocations = 0;
}

long XmlAllocationHook::Allocations() const {
    return state.allocations;
}

long long XmlAllocationHook::HeldBytes() const {
    return state.held;
}

long long XmlAllocationHook::PeakBytes() const {
    return state.peak;
}

void XmlAllocationHook::ResetPeak() {
    state.peak = state.held;
}
