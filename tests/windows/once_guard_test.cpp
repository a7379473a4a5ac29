// The runtime's once-guard on the system's one-time initialization: one
// body run for concurrent first callers, another try after a failed body,
// and the process ended when the guard itself is unusable.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <vector>

#include "tessel/runtime/Module.hpp"

// The runtime linked into this program runs the module's load-time work.
void tessel::rt::ModuleAttached() {}

namespace {

using tessel::rt::platform::OnceGuard;

struct Counter {
    std::atomic<int> runs{0};
    std::atomic<int> finished{0};
};

bool SlowBody(void* arg)
{
    auto* counter = static_cast<Counter*>(arg);
    ++counter->runs;
    Sleep(50);
    ++counter->finished;
    return true;
}

TEST(OnceGuardTest, ConcurrentFirstCallersWaitForTheOneBodyRun)
{
    static OnceGuard guard;
    Counter counter;
    std::vector<std::thread> threads;
    std::atomic<int> sawUnfinished{0};
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&] {
            guard.Run(&SlowBody, &counter);
            if (counter.finished.load() != 1) {
                ++sawUnfinished;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(counter.runs.load(), 1);
    EXPECT_EQ(sawUnfinished.load(), 0) << "a caller returned before the body had finished";
    guard.Run(&SlowBody, &counter);
    EXPECT_EQ(counter.runs.load(), 1) << "a completed guard never runs its body again";
}

TEST(OnceGuardTest, AFailedOrThrowingBodyLeavesTheGuardOpenForTheNextCall)
{
    static OnceGuard guard;
    int calls = 0;
    guard.Run([](void* arg) { return ++*static_cast<int*>(arg) > 1; }, &calls);  // fails
    EXPECT_THROW(guard.Run([](void*) -> bool { throw std::runtime_error("no memory"); }, nullptr),
                 std::runtime_error);
    guard.Run([](void* arg) { return ++*static_cast<int*>(arg) > 1; }, &calls);  // succeeds
    guard.Run([](void* arg) { return ++*static_cast<int*>(arg) > 1; }, &calls);  // not run
    EXPECT_EQ(calls, 2);
}

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
