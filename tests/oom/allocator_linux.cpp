// The sweep's allocator on Linux with glibc: the program's own malloc,
// calloc, realloc, free, strdup, wcsdup and operator new/delete take the
// place of the C library's for every library in the process, and forward to
// the allocator underneath: glibc's, or AddressSanitizer's under the
// sanitize preset (its interceptors), so that LeakSanitizer still sees every
// block.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <new>

#include "FailingAllocator.hpp"

#define TESSEL_OOM_EXPORT __attribute__((visibility("default")))

// AddressSanitizer's allocator, when its runtime is loaded (weak: null
// otherwise); this file itself is built without instrumentation, since it
// serves that runtime's first allocations before it is set up.
extern "C" {
void* __interceptor_malloc(std::size_t size) __attribute__((weak));
void* __interceptor_calloc(std::size_t count, std::size_t size) __attribute__((weak));
void* __interceptor_realloc(void* pointer, std::size_t size) __attribute__((weak));
void __interceptor_free(void* pointer) __attribute__((weak));
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void __libc_free(void* pointer);
}

#define TESSEL_OOM_NEXT(name) (__interceptor_##name != nullptr ? __interceptor_##name : __libc_##name)

namespace {

// Armed state of this thread (initial-exec TLS in the program: using it
// allocates nothing).
thread_local bool t_armed = false;
thread_local tessel::oom::Failing t_failing = tessel::oom::Failing::None;
thread_local std::size_t t_at = 0;
thread_local std::size_t t_count = 0;
thread_local std::size_t t_refused = 0;

// Counts one allocation; true when it is to fail.
bool Refuse()
{
    if (!t_armed) {
        return false;
    }
    const std::size_t number = t_count++;
    const bool refuse = (t_failing == tessel::oom::Failing::Only && number == t_at) ||
                        (t_failing == tessel::oom::Failing::FromOn && number >= t_at);
    if (refuse) {
        ++t_refused;
    }
    return refuse;
}

void* Allocate(std::size_t size) { return Refuse() ? nullptr : TESSEL_OOM_NEXT(malloc)(size); }

void Release(void* pointer) { TESSEL_OOM_NEXT(free)(pointer); }

void* NewOrThrow(std::size_t size)
{
    void* block = Allocate(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

}  // namespace

namespace tessel::oom {

bool Available() noexcept { return true; }
const char* UnavailableReason() noexcept { return ""; }

void Arm(Failing failing, std::size_t at) noexcept
{
    t_failing = failing;
    t_at = at;
    t_count = 0;
    t_refused = 0;
    t_armed = true;
}

std::size_t Disarm() noexcept
{
    t_armed = false;
    return t_count;
}

std::size_t Refused() noexcept { return t_refused; }

}  // namespace tessel::oom

extern "C" {

TESSEL_OOM_EXPORT void* malloc(std::size_t size) { return Allocate(size); }

TESSEL_OOM_EXPORT void* calloc(std::size_t count, std::size_t size)
{
    return Refuse() ? nullptr : TESSEL_OOM_NEXT(calloc)(count, size);
}

TESSEL_OOM_EXPORT void* realloc(void* pointer, std::size_t size)
{
    return Refuse() ? nullptr : TESSEL_OOM_NEXT(realloc)(pointer, size);
}

TESSEL_OOM_EXPORT void free(void* pointer) { Release(pointer); }

TESSEL_OOM_EXPORT char* strdup(const char* text)
{
    const std::size_t size = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(Allocate(size));
    if (copy != nullptr) {
        std::memcpy(copy, text, size);
    }
    return copy;
}

TESSEL_OOM_EXPORT wchar_t* wcsdup(const wchar_t* text)
{
    const std::size_t length = std::wcslen(text) + 1;
    auto* copy = static_cast<wchar_t*>(Allocate(length * sizeof(wchar_t)));
    if (copy != nullptr) {
        std::wmemcpy(copy, text, length);
    }
    return copy;
}

}  // extern "C"

TESSEL_OOM_EXPORT void* operator new(std::size_t size) { return NewOrThrow(size); }
TESSEL_OOM_EXPORT void* operator new[](std::size_t size) { return NewOrThrow(size); }
TESSEL_OOM_EXPORT void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size == 0 ? 1 : size);
}
TESSEL_OOM_EXPORT void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size == 0 ? 1 : size);
}
TESSEL_OOM_EXPORT void operator delete(void* pointer) noexcept { Release(pointer); }
TESSEL_OOM_EXPORT void operator delete[](void* pointer) noexcept { Release(pointer); }
TESSEL_OOM_EXPORT void operator delete(void* pointer, std::size_t) noexcept { Release(pointer); }
TESSEL_OOM_EXPORT void operator delete[](void* pointer, std::size_t) noexcept { Release(pointer); }
TESSEL_OOM_EXPORT void operator delete(void* pointer, const std::nothrow_t&) noexcept { Release(pointer); }
TESSEL_OOM_EXPORT void operator delete[](void* pointer, const std::nothrow_t&) noexcept { Release(pointer); }

// LeakSanitizer leaves the dynamic loader's own blocks alone by looking at
// who called the allocator; through this replacement the caller is always
// this file, so the loader's lasting blocks (the library list a self-pin's
// dlopen reference keeps) are named here instead.
extern "C" TESSEL_OOM_EXPORT const char* __lsan_default_suppressions()
{
    return "leak:_dl_map_object_deps\n";
}
