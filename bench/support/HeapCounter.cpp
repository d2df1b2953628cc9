// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/HeapCounter.h"

#include <malloc.h>

#include <atomic>
#include <cerrno>

#if defined(__SANITIZE_ADDRESS__)
#define PICTARIA_HEAP_COUNTING 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PICTARIA_HEAP_COUNTING 0
#endif
#endif
#ifndef PICTARIA_HEAP_COUNTING
#define PICTARIA_HEAP_COUNTING 1
#endif

namespace pictaria::bench {

namespace {

std::atomic<long long> heldBytes{0};
std::atomic<long long> peakBytes{0};
std::atomic<long long> baselineBytes{0};

void raisePeak(long long held) {
    long long peak = peakBytes.load(std::memory_order_relaxed);
    while (held > peak && !peakBytes.compare_exchange_weak(peak, held)) {
    }
}

}  // namespace

bool heapCountingAvailable() {
    return PICTARIA_HEAP_COUNTING != 0;
}

void resetHeapPeak() {
    baselineBytes = heldBytes.load();
    peakBytes = baselineBytes.load();
}

std::size_t heapPeakSinceReset() {
    return static_cast<std::size_t>(peakBytes.load() - baselineBytes.load());
}

void countAllocated(void* block) {
    if (block) {
        raisePeak(heldBytes += static_cast<long long>(malloc_usable_size(block)));
    }
}

void countReleased(void* block) {
    if (block) {
        heldBytes -= static_cast<long long>(malloc_usable_size(block));
    }
}

}  // namespace pictaria::bench

#if PICTARIA_HEAP_COUNTING

// glibc's own allocator, under the names it exports for allocators that wrap it.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);
}

using pictaria::bench::countAllocated;
using pictaria::bench::countReleased;

extern "C" void* malloc(std::size_t size) {
    void* block = __libc_malloc(size);
    countAllocated(block);
    return block;
}

extern "C" void* calloc(std::size_t count, std::size_t size) {
    void* block = __libc_calloc(count, size);
    countAllocated(block);
    return block;
}

extern "C" void* realloc(void* block, std::size_t size) {
    countReleased(block);
    void* moved = __libc_realloc(block, size);
    // A failed realloc keeps the old block.
    countAllocated(moved ? moved : (size ? block : nullptr));
    return moved;
}

extern "C" void* memalign(std::size_t alignment, std::size_t size) {
    void* block = __libc_memalign(alignment, size);
    countAllocated(block);
    return block;
}

extern "C" void* aligned_alloc(std::size_t alignment, std::size_t size) {
    return memalign(alignment, size);
}

extern "C" int posix_memalign(void** result, std::size_t alignment, std::size_t size) {
    void* block = memalign(alignment, size);
    if (!block) {
        return ENOMEM;
    }
    *result = block;
    return 0;
}

extern "C" void free(void* block) {
    countReleased(block);
    __libc_free(block);
}

#endif
