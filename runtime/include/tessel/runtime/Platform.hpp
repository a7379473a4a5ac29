// The little the runtime needs from the operating system. One source file
// per platform implements it (platform_windows.cpp, platform_posix.cpp).
#pragma once

namespace tessel::rt::platform {

// A system once-guard. Zero-initialized storage is the initial state, so a
// guard with static storage is ready before any code of the module runs.
class OnceGuard {
public:
    constexpr OnceGuard() noexcept = default;

    // Runs body(arg) for the first caller; concurrent callers block until it
    // has finished. A body that returns false (or throws; the exception
    // propagates) leaves the guard open, so a later call tries again. When
    // the guard cannot be entered the process is stopped with fast-fail code
    // 5; when it cannot be completed the process aborts.
    void Run(bool (*body)(void*), void* arg);

private:
    // Pointer-sized system state (an INIT_ONCE on Windows), zero at start.
    void* state_[2] = {};
};

// An address inside this module, standing for its handle where the loader
// hands none to an entry point (the runtime linked into a program).
void* AddressInsideModule();

// Adds a permanent reference to the library that contains address, so that
// it is never unloaded. Failures are ignored.
void PinLibraryContaining(const void* address);

// The C runtime's wide-string duplicate (released with free); null for null
// or when out of memory.
wchar_t* DuplicateWide(const wchar_t* text) noexcept;

}  // namespace tessel::rt::platform
