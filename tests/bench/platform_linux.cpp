// The benchmarks' platform part on Linux with glibc.
//
// The counting allocator: the program's own malloc family replaces the C
// library's for every library in the process (glibc routes its internal
// allocations, wcsdup's included, through the replacement) and forwards to
// the C library's allocator, so that the heap stays one heap.
#include <malloc.h>
#include <time.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "BenchPlatform.hpp"

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* pointer);
}

namespace {

std::atomic<uint64_t> g_allocations{0};

// The heap of a game that has been running a while: memory freed by one
// operation stays in the heap for the next (no trimming, no unmapping of
// large blocks), so that a row does not measure the kernel handing pages
// back and forth, which depends on what happened to lie at the top of the
// heap. Module and baselines run in the same heap.
const bool g_warmHeap = [] {
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
    return true;
}();

void Count() noexcept { g_allocations.fetch_add(1, std::memory_order_relaxed); }

}  // namespace

uint64_t tessel::bench::AllocationCount() noexcept { return g_allocations.load(std::memory_order_relaxed); }

uint64_t tessel::bench::ThreadCpuNanoseconds() noexcept
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
}

extern "C" {

void* malloc(std::size_t size) noexcept
{
    Count();
    return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size) noexcept
{
    Count();
    return __libc_calloc(count, size);
}

void* realloc(void* pointer, std::size_t size) noexcept
{
    Count();
    return __libc_realloc(pointer, size);
}

void free(void* pointer) noexcept { __libc_free(pointer); }

void* memalign(std::size_t alignment, std::size_t size) noexcept
{
    Count();
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept
{
    Count();
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** result, std::size_t alignment, std::size_t size) noexcept
{
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0) {
        return 22;  // EINVAL
    }
    Count();
    void* pointer = __libc_memalign(alignment, size);
    if (pointer == nullptr) {
        return 12;  // ENOMEM
    }
    *result = pointer;
    return 0;
}

}  // extern "C"
