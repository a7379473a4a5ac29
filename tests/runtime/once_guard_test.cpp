// The runtime's once-guard, on every platform: one body run for concurrent
// first callers, who all wait for it, and another try after a body that
// failed or threw. (What ends the process on Windows: tests/windows.)
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tessel/runtime/Platform.hpp"

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
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ++counter->finished;
    return true;
}

TEST(OnceGuardTest, ConcurrentFirstCallersWaitForTheOneBodyRun)
{
    static OnceGuard guard;
    Counter counter;
    std::atomic<int> sawUnfinished{0};
    std::vector<std::thread> threads;
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
    auto secondCallSucceeds = [](void* arg) { return ++*static_cast<int*>(arg) > 1; };
    guard.Run(secondCallSucceeds, &calls);  // fails
    EXPECT_THROW(guard.Run([](void*) -> bool { throw std::runtime_error("no memory"); }, nullptr),
                 std::runtime_error);
    guard.Run(secondCallSucceeds, &calls);  // succeeds
    guard.Run(secondCallSucceeds, &calls);  // not run
    EXPECT_EQ(calls, 2);
}

}  // namespace
