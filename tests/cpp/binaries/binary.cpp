// One binary of a game made of several: a shared library that makes its
// requests through the C++ layer's headers, so it has a registry of its own.
// Built twice (TESSEL_TEST_BINARY names the copy); the test drives both.
#include <cstddef>

#include "tessel/base/Export.h"
#include "tessel/cpp/Ludex.hpp"
#include "tessel/cpp/Panora.hpp"

#define TESSEL_TEST_JOIN2(a, b) a##_##b
#define TESSEL_TEST_JOIN(a, b) TESSEL_TEST_JOIN2(a, b)
#define TESSEL_TEST_EXPORT(name) TESSEL_EXTERN_C TESSEL_EXPORT void TESSEL_TEST_JOIN(TESSEL_TEST_BINARY, name)

// Counts one call, and one destruction of the callable, in the game's counters.
struct Counted {
    Counted(int* calls, int* ended) : calls_(calls), ended_(ended) {}
    Counted(Counted&& other) noexcept : calls_(other.calls_), ended_(other.ended_) { other.ended_ = nullptr; }
    Counted(const Counted&) = delete;
    ~Counted()
    {
        if (ended_ != nullptr) {
            ++*ended_;
        }
    }
    void operator()() const { ++*calls_; }
    int* calls_;
    int* ended_;
};

// A character fetch and a news list fetch.
TESSEL_TEST_EXPORT(Fetch)(int* calls, int* ended)
{
    tessel::ludex::FetchCharacter(L"hero", L"eu",
                                  [count = Counted(calls, ended)](const tessel::Result&, std::wstring) { count(); });
    tessel::panora::FetchNewsPopup([count = Counted(calls, ended)](const tessel::Result&, auto, auto) { count(); });
}

TESSEL_TEST_EXPORT(Pending)(std::size_t* pending) { *pending = tessel::PendingRequests(); }

TESSEL_TEST_EXPORT(Start)()
{
    tessel::Initialize(L"game");
    tessel::ludex::Initialize();
    tessel::panora::Initialize();
}

TESSEL_TEST_EXPORT(Quit)() { tessel::UnInitialize(); }

TESSEL_TEST_EXPORT(Pump)() { tessel::RunCallbacks(); }
