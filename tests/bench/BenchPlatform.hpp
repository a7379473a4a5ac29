// What the benchmarks need of the platform they run on (platform_linux.cpp):
// a count of heap allocations and the calling thread's processor time.
#pragma once

#include <cstdint>

namespace tessel::bench {

// Heap allocations made by the process so far: every malloc, calloc,
// realloc and aligned allocation, operator new, the C runtime's wide-string
// duplicate and the libraries' own calls included.
uint64_t AllocationCount() noexcept;

// Processor time the calling thread has used, in nanoseconds: unlike the
// wall clock, it does not count the time other programs on a shared machine
// take from it.
uint64_t ThreadCpuNanoseconds() noexcept;

}  // namespace tessel::bench
