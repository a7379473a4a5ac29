// The allocation-failure sweep's allocator: the test program's own
// allocation functions count every allocation the calling thread makes while
// armed and make chosen ones fail. One source file per platform implements
// it; where the C library's allocator cannot be replaced, Available() is
// false and the sweep skips.
#pragma once

#include <cstddef>

namespace tessel::oom {

// Which allocations fail while armed.
enum class Failing {
    None,     // none: counts only
    Only,     // the one numbered `at` (counted from 0)
    FromOn,   // the one numbered `at` and every later one
};

bool Available() noexcept;

// Starts counting on the calling thread, from 0.
void Arm(Failing failing, std::size_t at) noexcept;
// Stops; returns how many allocations were made while armed.
std::size_t Disarm() noexcept;
// How many allocations were refused since the last Arm.
std::size_t Refused() noexcept;

// Why the sweep cannot run here (Available() false).
const char* UnavailableReason() noexcept;

}  // namespace tessel::oom
