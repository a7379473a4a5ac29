// A game made of two shared libraries that both use the C++ layer's
// headers: a shut-down through one binary reaches the other's requests.
#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>

#include "tessel/base/Export.h"

#define TESSEL_TEST_BINARY_API(binary)                                  \
    TESSEL_EXTERN_C TESSEL_IMPORT void binary##_Fetch(int* calls, int* ended); \
    TESSEL_EXTERN_C TESSEL_IMPORT void binary##_Pending(std::size_t* pending); \
    TESSEL_EXTERN_C TESSEL_IMPORT void binary##_Start();                 \
    TESSEL_EXTERN_C TESSEL_IMPORT void binary##_Quit();                  \
    TESSEL_EXTERN_C TESSEL_IMPORT void binary##_Pump();
TESSEL_TEST_BINARY_API(BinaryA)
TESSEL_TEST_BINARY_API(BinaryB)

namespace {

std::size_t PendingInA()
{
    std::size_t pending = 0;
    BinaryA_Pending(&pending);
    return pending;
}

// B quits with A's requests waiting: A's callables are destroyed uncalled
// and its list lane is free for the next fetch, which B's pump answers.
TEST(SeveralBinaries, AShutDownThroughOneBinaryEndsTheOthersRequests)
{
    int calls = 0;
    int ended = 0;
    BinaryB_Start();
    BinaryA_Fetch(&calls, &ended);
    EXPECT_EQ(PendingInA(), 2u);
    BinaryB_Quit();
    EXPECT_EQ(PendingInA(), 0u);
    EXPECT_EQ(ended, 2);
    EXPECT_EQ(calls, 0);

    BinaryB_Start();
    BinaryA_Fetch(&calls, &ended);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (calls < 2 && std::chrono::steady_clock::now() < deadline) {
        BinaryB_Pump();
    }
    EXPECT_EQ(calls, 2) << "the list lane was left busy";
    EXPECT_EQ(ended, 4);
    BinaryA_Quit();
}

}  // namespace
