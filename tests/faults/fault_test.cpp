// Out-of-memory faults of single requests, each checked over every
// allocation of the request and its completion (allocation N fails, N = 0 up
// to the count of a normal run): an answer with code 0 is always whole.
#include <gtest/gtest.h>

#include <cstddef>

#include "FailingAllocator.hpp"
#include "tessel/ludex/Ludex.h"
#include "tessel/panora/Panora.h"
#include "tessel/sandbox/Sandbox.hpp"
#include "tessel/sandbox/SandboxPopups.hpp"
#include "tessel/sandbox/SandboxShop.hpp"
#include "tessel/vendra/Vendra.h"
#include "tessel/vendra/Vendra.hpp"

namespace {

namespace Sandbox = Tessel::PCSDK::Sandbox;
namespace IAP = Tessel::PCSDK::IAP;
using Tessel::PCSDK::CallbackResult;
using tessel::oom::Failing;

// What the callbacks heard; plain values, so recording allocates nothing.
int g_calls = 0;
int g_successWithHoles = 0;  // code 0 with a null text

void Pump()
{
    for (int round = 0; round < 8 && Tessel_RunCallbacks() != 0; ++round) {
    }
}

class FaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!tessel::oom::Available()) {
            GTEST_SKIP() << tessel::oom::UnavailableReason();
        }
        ASSERT_EQ(Tessel_Initialize(L"faults").resultCode, 0u);
        ASSERT_EQ(IAP::IAP_Initialize(L"sandbox").GetResultCode(), 0u);
        ASSERT_EQ(TesselAPI_ViewInitialize().resultCode, 0u);
        ASSERT_EQ(TesselAPI_GamingServicesInitialize().resultCode, 0u);
    }
    void TearDown() override
    {
        Sandbox::ClosePopups();
        Pump();
        IAP::IAP_UnInitialize();
        TesselAPI_ViewUnInitialize();
        TesselAPI_GamingServicesUnInitialize();
        Tessel_UnInitialize();
    }

    // Runs request() and its completion once with no failure, then once for
    // each allocation N failing; returns how many runs there were.
    static std::size_t EveryFailure(void (*request)())
    {
        request();
        Pump();  // warms up what the platform makes once
        tessel::oom::Arm(Failing::None, 0);
        request();
        Pump();
        const std::size_t total = tessel::oom::Disarm();
        g_calls = 0;
        g_successWithHoles = 0;
        for (std::size_t n = 0; n <= total; ++n) {
            tessel::oom::Arm(Failing::Only, n);
            request();
            Pump();
            tessel::oom::Disarm();
            Pump();  // a completion put off by the failure
        }
        return total + 1;
    }
};

TEST_F(FaultTest, CCallbackNeverGetsANullMessageWithCodeZero)
{
    const std::size_t runs = EveryFailure([] {
        TesselAPI_FetchCharacter(
            L"hero", L"eu",
            [](const TesselAPICallbackResult* r, const wchar_t*) {
                ++g_calls;
                g_successWithHoles += r->result.resultCode == 0 && r->message == nullptr ? 1 : 0;
            },
            nullptr);
    });
    EXPECT_EQ(g_calls, static_cast<int>(runs));
    EXPECT_EQ(g_successWithHoles, 0);
}

TEST_F(FaultTest, CppProductsWithCodeZeroHaveEveryText)
{
    const std::size_t runs = EveryFailure([] {
        IAP::TesselPCFetchProductParam page;
        page.SetPageSize(3);
        IAP::IAP_FetchProducts(&page, [](CallbackResult r, IAP::TesselPCProduct* products, unsigned int count) {
            ++g_calls;
            for (unsigned int i = 0; r.GetResultCode() == 0 && i < count; ++i) {
                g_successWithHoles += products[i].GetName() == nullptr || products[i].GetCategoryId() == nullptr ||
                                              products[i].GetThumbnailUrl() == nullptr
                                          ? 1
                                          : 0;
            }
        });
    });
    EXPECT_EQ(g_calls, static_cast<int>(runs));
    EXPECT_EQ(g_successWithHoles, 0);
}

TEST_F(FaultTest, CloseAllPopupsThatRanOutOfMemoryIsNotSuccess)
{
    const TesselPopupCallback ignore = [](const TesselAPICallbackResult*) {};
    int successWhileOpen = 0;
    for (std::size_t n = 0;; ++n) {
        if (Sandbox::OpenPopups().empty()) {
            TesselAPI_NewsPopupEx(TESSEL_WEBVIEW_MODE_EMBEDDED, ignore, ignore, nullptr, nullptr);
            Pump();
            ASSERT_EQ(Sandbox::OpenPopups().size(), 1u);
        }
        tessel::oom::Arm(Failing::Only, n);
        const TesselAPIResult result = TesselAPI_ViewCloseAllPopups();
        tessel::oom::Disarm();
        const bool failed = tessel::oom::Refused() != 0;
        successWhileOpen += result.resultCode == 0 && !Sandbox::OpenPopups().empty() ? 1 : 0;
        Pump();
        if (!failed) {
            EXPECT_EQ(result.resultCode, 0u);
            break;
        }
    }
    EXPECT_EQ(successWhileOpen, 0);
}

// A popup that is not created, whose only answer keeps running out of
// memory until the pump answers it itself: that answer has no data, which
// reads as "created", so the second callback must still hear that no popup
// opened (its context is freed there), for onDestroy and the identity value.
TEST_F(FaultTest, AStuckNotCreatedAnswerStillEndsThePopupRequest)
{
    static int results = 0;
    static int seconds = 0;
    results = seconds = 0;
    // Each pump's first allocation (the answer's, before its trampoline)
    // fails, until the pump answers it itself.
    const auto stick = [] {
        for (int pump = 0; pump < 9; ++pump) {
            tessel::oom::Arm(Failing::Only, 0);
            Tessel_RunCallbacks();
            tessel::oom::Disarm();
        }
        Pump();
    };
    Sandbox::SetViewPopupsCreated(false);
    TesselAPI_NewsPopupEx(
        TESSEL_WEBVIEW_MODE_EMBEDDED, [](const TesselAPICallbackResult*) { ++results; },
        [](const TesselAPICallbackResult*) { ++seconds; }, nullptr, nullptr);
    stick();
    TesselAPI_VerifyIdentificationPopup(
        true, TESSEL_WEBVIEW_MODE_EMBEDDED, [](const TesselAPICallbackResult*) { ++results; },
        [](const TesselAPICallbackResult*, const wchar_t*) { ++seconds; }, nullptr, nullptr);
    stick();
    Sandbox::SetViewPopupsCreated(true);
    EXPECT_EQ(results, 2);
    EXPECT_EQ(seconds, 2) << "onDestroy and the value callback each end their request once";
}

// Closing the popups inside Tessel_UnInitialize runs out of memory: the
// open purchase window must still be closed, its context freed (the
// sanitize preset's LeakSanitizer sees one that is not).
TEST_F(FaultTest, ShutdownThatRunsOutOfMemoryStillClosesEveryPopup)
{
    TesselOrderProduct order{110, 9.90, 1};
    TesselStartPurchaseParam purchase{};
    purchase.orderProducts = &order;
    purchase.orderProductCount = 1;
    TesselAPI_StartPurchaseEx(
        &purchase, [](const TesselAPICallbackResult*, const TesselPurchaseResult*) {},
        [](TesselAPICallbackResult*) {}, nullptr, nullptr);
    Pump();
    ASSERT_EQ(Sandbox::OpenPopups().size(), 1u);
    tessel::oom::Arm(Failing::FromOn, 0);
    Tessel_UnInitialize();
    tessel::oom::Disarm();
    EXPECT_TRUE(Sandbox::OpenPopups().empty());
    ASSERT_EQ(Tessel_Initialize(L"faults").resultCode, 0u);
    EXPECT_EQ(Tessel_RunCallbacks(), 0u) << "nothing of the old session is left";
}

}  // namespace
