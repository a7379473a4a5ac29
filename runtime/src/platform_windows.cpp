// Windows side of the runtime: the DLL entry point, the self-pin through
// GetModuleHandleExW and the system once-guard.
#include <windows.h>

#if defined(_MSC_VER)
#include <intrin.h>
#endif

#include <cstdlib>
#include <cwchar>

#include "tessel/runtime/Module.hpp"

// The image this code is linked into (the linker's own symbol).
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace tessel::rt::platform {
namespace {

const char g_anchor = 0;

static_assert(sizeof(INIT_ONCE) <= sizeof(void*), "INIT_ONCE must fit the guard's state");

constexpr DWORD kPinFromAddress = GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS;
static_assert(kPinFromAddress == 5, "self-pin flags");
static_assert(FAST_FAIL_INVALID_ARG == 5, "fast-fail code of a guard that cannot be entered");

// Ends the process at once through the system's fast-fail service: no
// handler, no unwinding, reported as a stack buffer overrun with `code`.
[[noreturn]] void FastFail(unsigned int code)
{
#if defined(_MSC_VER)
    __fastfail(code);
#else
    // The compiler offers no intrinsic here; this is its instruction.
    __asm__ __volatile__("int $0x29" : : "c"(code) : "memory");
    __builtin_trap();
#endif
}

// The runtime linked straight into a program (not a DLL) gets no DllMain
// call; there the program's startup stands in for process attach, with an
// address inside the program for its handle, as on other platforms.
struct ProgramAttach {
    ProgramAttach()
    {
        if (reinterpret_cast<HMODULE>(&__ImageBase) == GetModuleHandleW(nullptr)) {
            OnProcessAttach(AddressInsideModule());
        }
    }
};
const ProgramAttach g_programAttach;

}  // namespace

void OnceGuard::Run(bool (*body)(void*), void* arg)
{
    auto* once = reinterpret_cast<PINIT_ONCE>(&state_[0]);
    BOOL pending = FALSE;
    if (!InitOnceBeginInitialize(once, 0, &pending, nullptr)) {
        FastFail(FAST_FAIL_INVALID_ARG);
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

// The library's entry point. The C runtime's startup code calls it after the
// library's static objects are constructed; defining it here keeps the C
// runtime's default (which does nothing) out of the library.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/)
{
    if (reason == DLL_PROCESS_ATTACH) {
        try {
            tessel::rt::OnProcessAttach(instance);
        } catch (...) {
            // Out of memory while the module set itself up: refuse the load
            // rather than run without a module context.
            return FALSE;
        }
    }
    return TRUE;
}
