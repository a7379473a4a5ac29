// The allocation-failure sweep through the C++ layer: for each request
// below, every allocation from the request call through its completion (and
// the end of its window) fails in turn. For each N: either the request call
// throws std::bad_alloc and no callable ever runs, or each callable runs
// exactly once (code 22 with empty values when its copies failed); every
// capture is destroyed once and no context is left. The sanitize preset
// catches a leak or a double free on any of these paths.
#include <gtest/gtest.h>

#include <new>
#include <ostream>
#include <string>
#include <vector>

#include "../oom/FailingAllocator.hpp"
#include "tessel/cpp/Ludex.hpp"
#include "tessel/cpp/Panora.hpp"
#include "tessel/cpp/Vendra.hpp"
#include "tessel/sandbox/TesselSandbox.h"

namespace {

using tessel::Result;
using tessel::oom::Failing;

// What the callables heard: plain counters, so that recording allocates nothing.
int g_first = 0;
int g_second = 0;
int g_outOfMemoryWithValues = 0;
int g_outOfMemory = 0;
int g_live = 0;

struct Capture {
    Capture() { ++g_live; }
    Capture(const Capture&) { ++g_live; }
    Capture& operator=(const Capture&) = delete;
    ~Capture() { --g_live; }
};

void Heard(const Result& result, bool empty)
{
    ++g_first;
    if (result.code == tessel::ResultCode::OutOfMemory) {
        ++g_outOfMemory;
        g_outOfMemoryWithValues += empty ? 0 : 1;
    }
}

struct Scenario {
    const char* name;
    void (*request)();
    bool second;  // a second callable that hears the end of the window once
};

const Scenario kScenarios[] = {
    {"product page",
     [] {
         tessel::vendra::FetchProducts(L"", {1, 5}, [c = Capture()](const Result& r, std::vector<tessel::vendra::Product> page) {
             Heard(r, page.empty());
         });
     },
     false},
    {"purchase with onDestroy",
     [] {
         tessel::vendra::PurchaseRequest order;
         order.orderProducts = {{101, 3.0, 1}, {106, 0.5, 2}};
         order.extraData = L"order-7";
         tessel::vendra::StartPurchase(
             order,
             [c = Capture()](const Result& r, tessel::vendra::PurchaseResult p) {
                 Heard(r, p.purchasedProducts.empty() && p.extraData.empty());
             },
             [c = Capture()](const Result&) { ++g_second; });
     },
     true},
    {"popup list fetch",
     [] {
         tessel::panora::FetchAutoPopup([c = Capture()](const Result& r, std::vector<tessel::panora::Popup> popups,
                                                        tessel::panora::PopupRequestData) { Heard(r, popups.empty()); });
     },
     false},
    {"character fetch",
     [] {
         tessel::ludex::FetchCharacter(L"hero", L"eu", [c = Capture()](const Result& r, std::wstring text) {
             Heard(r, text.empty());
         });
     },
     false},
};

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

void Pump()
{
    for (int round = 0; round < 8 && tessel::RunCallbacks() != 0; ++round) {
    }
}

// Runs a request through its end; false when the request call threw.
bool RequestAndComplete(const Scenario& scenario)
{
    g_first = g_second = g_outOfMemory = g_outOfMemoryWithValues = 0;
    Tessel_Initialize(L"oom-sweep");
    TesselAPI_IAPInitialize(L"sandbox");
    TesselAPI_ViewInitialize();
    TesselAPI_GamingServicesInitialize();
    bool sent = true;
    try {
        scenario.request();
    } catch (const std::bad_alloc&) {
        sent = false;
    }
    Pump();
    for (int attempt = 0; attempt < 2; ++attempt) {  // closing itself may run out of memory once
        TesselSandbox_CloseAllPopups();
        Pump();
    }
    return sent;
}

class CppSweep : public ::testing::TestWithParam<Scenario> {
protected:
    void SetUp() override
    {
        if (!tessel::oom::Available()) {
            GTEST_SKIP() << tessel::oom::UnavailableReason();
        }
    }
};

TEST_P(CppSweep, EveryFailedAllocationStillEndsOnce)
{
    const Scenario& scenario = GetParam();
    RequestAndComplete(scenario);  // warms up what the platform makes once
    tessel::UnInitialize();
    tessel::oom::Arm(Failing::None, 0);
    ASSERT_TRUE(RequestAndComplete(scenario));
    const std::size_t total = tessel::oom::Disarm();
    tessel::UnInitialize();
    ASSERT_EQ(g_first, 1);
    ASSERT_GT(total, 0u);

    int thrown = 0;
    int answers22 = 0;
    for (std::size_t n = 0; n <= total; ++n) {
        tessel::oom::Arm(Failing::Only, n);
        const bool sent = RequestAndComplete(scenario);
        tessel::oom::Disarm();
        thrown += sent ? 0 : 1;
        answers22 += g_outOfMemory;
        const int expected = sent ? 1 : 0;
        EXPECT_EQ(g_first, expected) << "N = " << n;
        if (scenario.second) {
            EXPECT_EQ(g_second, expected) << "N = " << n << ": onDestroy";
        }
        EXPECT_EQ(g_outOfMemoryWithValues, 0) << "N = " << n << ": code 22 comes with empty values";
        EXPECT_EQ(tessel::PendingRequests(), 0u) << "N = " << n;
        tessel::UnInitialize();
        EXPECT_EQ(g_live, 0) << "N = " << n;
    }
    EXPECT_GT(thrown, 0) << "the request context's allocation failed in one run";
    EXPECT_GT(answers22, 0) << "copies failed in some runs: " << total << " allocations";
}

INSTANTIATE_TEST_SUITE_P(Requests, CppSweep, ::testing::ValuesIn(kScenarios),
                         [](const ::testing::TestParamInfo<Scenario>& param) {
                             std::string name;
                             for (const char* c = param.param.name; *c != '\0'; ++c) {
                                 name += (*c == ' ') ? '_' : *c;
                             }
                             return name;
                         });

}  // namespace
