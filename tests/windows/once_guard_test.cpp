// The runtime's once-guard on the system's one-time initialization: the
// process is ended when the guard itself is unusable. (What every platform's
// guard does is tested in tests/runtime/once_guard_test.cpp.)
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "tessel/runtime/Module.hpp"

// The runtime linked into this program runs the module's load-time work.
void tessel::rt::ModuleAttached() {}

namespace {

using tessel::rt::platform::OnceGuard;

// The exit status of a process ended by the fast-fail service.
constexpr int kFastFailStatus = static_cast<int>(0xC0000409u);

bool NeverRuns(void*)
{
    ADD_FAILURE() << "the body ran";
    return true;
}

TEST(OnceGuardDeathTest, AGuardThatCannotBeEnteredEndsTheProcessWithFastFail)
{
    OnceGuard guard;
    // Both low bits set: a state the system refuses to begin from.
    const auto invalid = reinterpret_cast<void*>(std::uintptr_t{3});
    std::memcpy(static_cast<void*>(&guard), &invalid, sizeof invalid);
    EXPECT_EXIT(guard.Run(&NeverRuns, nullptr), ::testing::ExitedWithCode(kFastFailStatus), "");
}

bool ForgetTheGuard(void* arg)
{
    // The system no longer sees a pending run, so it cannot be completed.
    std::memset(arg, 0, sizeof(OnceGuard));
    return true;
}

TEST(OnceGuardDeathTest, AGuardThatCannotBeCompletedAbortsTheProcess)
{
    OnceGuard guard;
    // The C runtime's abort ends the process with status 3.
    EXPECT_EXIT(guard.Run(&ForgetTheGuard, &guard), ::testing::ExitedWithCode(3), "");
}

}  // namespace
