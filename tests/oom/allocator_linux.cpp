// The sweep's allocator on Linux with glibc: the program's own malloc,
// calloc, realloc, free, strdup, wcsdup and operator new/delete take the
// place of the C library's (and of the sanitizer runtime's) for every
// library in the process, and forward to the next definition, found with
// dlsym(RTLD_NEXT): glibc's allocator, or AddressSanitizer's under the
// sanitize preset, so that LeakSanitizer still sees every block.
#include <dlfcn.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <new>

#include "FailingAllocator.hpp"

#define TESSEL_OOM_EXPORT __attribute__((visibility("default")))

namespace {

using Malloc = void* (*)(std::size_t);
using Calloc = void* (*)(std::size_t, std::size_t);
using Realloc = void* (*)(void*, std::size_t);
using Free = void (*)(void*);

Malloc g_malloc = nullptr;
Calloc g_calloc = nullptr;
Realloc g_realloc = nullptr;
Free g_free = nullptr;

// dlsym may allocate while the real functions are looked up: those few
// blocks come from here and are never freed.
alignas(std::max_align_t) unsigned char g_bootstrap[4096];
std::size_t g_bootstrapUsed = 0;
bool g_resolving = false;

bool FromBootstrap(const void* pointer)
{
    const auto* byte = static_cast<const unsigned char*>(pointer);
    return byte >= g_bootstrap && byte < g_bootstrap + sizeof g_bootstrap;
}

void* Bootstrap(std::size_t size)
{
    const std::size_t rounded = (size + alignof(std::max_align_t) - 1) & ~(alignof(std::max_align_t) - 1);
    if (g_bootstrapUsed + rounded > sizeof g_bootstrap) {
        return nullptr;
    }
    void* block = g_bootstrap + g_bootstrapUsed;
    g_bootstrapUsed += rounded;
    std::memset(block, 0, rounded);
    return block;
}

void Resolve()
{
    if (g_free != nullptr || g_resolving) {
        return;
    }
    g_resolving = true;
    g_malloc = reinterpret_cast<Malloc>(dlsym(RTLD_NEXT, "malloc"));
    g_calloc = reinterpret_cast<Calloc>(dlsym(RTLD_NEXT, "calloc"));
    g_realloc = reinterpret_cast<Realloc>(dlsym(RTLD_NEXT, "realloc"));
    g_free = reinterpret_cast<Free>(dlsym(RTLD_NEXT, "free"));
    g_resolving = false;
}

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

void* Allocate(std::size_t size)
{
    Resolve();
    if (g_malloc == nullptr) {
        return Bootstrap(size);
    }
    return Refuse() ? nullptr : g_malloc(size);
}

void Release(void* pointer)
{
    if (pointer == nullptr || FromBootstrap(pointer)) {
        return;
    }
    Resolve();
    g_free(pointer);
}

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
    Resolve();
    if (g_calloc == nullptr) {
        return Bootstrap(count * size);
    }
    return Refuse() ? nullptr : g_calloc(count, size);
}

TESSEL_OOM_EXPORT void* realloc(void* pointer, std::size_t size)
{
    Resolve();
    if (FromBootstrap(pointer)) {
        void* block = Allocate(size);
        if (block != nullptr) {
            std::memcpy(block, pointer, size);
        }
        return block;
    }
    return Refuse() ? nullptr : g_realloc(pointer, size);
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
