// POSIX side of the runtime: a load-time constructor for the entry point, a
// permanent dlopen reference for the self-pin, and a blocking once-guard.
#include <dlfcn.h>

#include <cstdlib>
#include <cwchar>
#include <mutex>

#include "tessel/runtime/Module.hpp"

namespace tessel::rt::platform {
namespace {

const char g_anchor = 0;

// Serializes the module's guards: the first caller runs the body while later
// ones wait. Bodies never run another guard of the module.
std::mutex g_guardMutex;

// The loader's process-attach notification. Nothing may unwind out of it:
// without memory for the module context the context is made on first use.
__attribute__((constructor)) void ModuleLoaded()
{
    try {
        OnProcessAttach(AddressInsideModule());
    } catch (...) {
        // The first call that needs the context tries again.
    }
}

}  // namespace

void OnceGuard::Run(bool (*body)(void*), void* arg)
{
    if (__atomic_load_n(&state_[0], __ATOMIC_ACQUIRE) != nullptr) {
        return;
    }
    std::lock_guard<std::mutex> lock(g_guardMutex);
    if (__atomic_load_n(&state_[0], __ATOMIC_ACQUIRE) != nullptr) {
        return;
    }
    if (body(arg)) {
        __atomic_store_n(&state_[0], static_cast<void*>(this), __ATOMIC_RELEASE);
    }
}

wchar_t* DuplicateWide(const wchar_t* text) noexcept
{
    return text != nullptr ? wcsdup(text) : nullptr;
}

void* AddressInsideModule() { return const_cast<char*>(&g_anchor); }

void PinLibraryContaining(const void* address)
{
    Dl_info info{};
    if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) {
        return;
    }
    // The handle is never closed: that reference, with RTLD_NODELETE, keeps
    // the library loaded until the process ends.
    (void)dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
}

}  // namespace tessel::rt::platform
