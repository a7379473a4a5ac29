// Windows side of the runtime: the DLL entry point, the self-pin through
// GetModuleHandleExW and the system once-guard.
#include <windows.h>

#include <intrin.h>

#include <cstdlib>
#include <cwchar>

#include "tessel/runtime/Module.hpp"

namespace tessel::rt::platform {
namespace {

const char g_anchor = 0;

static_assert(sizeof(INIT_ONCE) <= sizeof(void*), "INIT_ONCE must fit the guard's state");

constexpr DWORD kPinFromAddress = GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS;
static_assert(kPinFromAddress == 5, "self-pin flags");

}  // namespace

void OnceGuard::Run(bool (*body)(void*), void* arg)
{
    auto* once = reinterpret_cast<PINIT_ONCE>(&state_[0]);
    BOOL pending = FALSE;
    if (!InitOnceBeginInitialize(once, 0, &pending, nullptr)) {
        __fastfail(FAST_FAIL_INVALID_ARG);
    }
    if (!pending) {
        return;
    }
    bool done = false;
    try {
        done = body(arg);
    } catch (...) {
        if (!InitOnceComplete(once, INIT_ONCE_INIT_FAILED, nullptr)) {
            std::abort();
        }
        throw;
    }
    if (!InitOnceComplete(once, done ? 0 : INIT_ONCE_INIT_FAILED, nullptr)) {
        std::abort();
    }
}

wchar_t* DuplicateWide(const wchar_t* text) noexcept
{
    return text != nullptr ? _wcsdup(text) : nullptr;
}

void* AddressInsideModule() { return const_cast<char*>(&g_anchor); }

void PinLibraryContaining(const void* address)
{
    HMODULE module = nullptr;
    (void)GetModuleHandleExW(kPinFromAddress, static_cast<LPCWSTR>(address), &module);
}

}  // namespace tessel::rt::platform

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/)
{
    if (reason == DLL_PROCESS_ATTACH) {
        tessel::rt::OnProcessAttach(instance);
    }
    return TRUE;
}
