// Where the sweep's allocator cannot replace the C library's (Windows: a
// DLL's malloc and _wcsdup are bound to its own C runtime at link time), the
// sweep reports why and skips.
#include "FailingAllocator.hpp"

namespace tessel::oom {

bool Available() noexcept { return false; }
const char* UnavailableReason() noexcept
{
    return "the allocation-failure sweep needs a C library whose allocator a program can replace for every "
           "library it loads (Linux with glibc); here each DLL is bound to its own C runtime's heap";
}
void Arm(Failing, std::size_t) noexcept {}
std::size_t Disarm() noexcept { return 0; }
std::size_t Refused() noexcept { return 0; }

}  // namespace tessel::oom
