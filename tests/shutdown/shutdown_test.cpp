// A game that shuts the platform down with requests still pending and
// popups still open: no callback runs any more, and every module frees what
// it kept (the sanitizer preset reports anything left behind).
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "TestSupport.hpp"
#include "tessel/sandbox/SandboxShop.hpp"
#include "tessel/ludex/Ludex.h"
#include "tessel/vendra/Vendra.h"

namespace {

int g_calls = 0;

void OnCharacter(const TesselAPICallbackResult*, const wchar_t*) { ++g_calls; }
void OnPurchase(const TesselAPICallbackResult*, const TesselPurchaseResult*) { ++g_calls; }
void OnDestroy(TesselAPICallbackResult*) { ++g_calls; }

// A purchase with onDestroy; its window opens.
void StartPurchase(void (*onResult)(const TesselAPICallbackResult*, const TesselPurchaseResult*))
{
    TesselOrderProduct order{110, 9.90, 1};
    TesselStartPurchaseParam purchase{};
    purchase.orderProducts = &order;
    purchase.orderProductCount = 1;
    TesselAPI_StartPurchaseEx(&purchase, onResult, &OnDestroy, nullptr, nullptr);
}

// What the inventory callback does: a game's quit button.
enum class Quit { UnInitialize, UnInitializeThenInitialize, FromAnotherThread };
Quit g_quit = Quit::UnInitialize;
std::thread g_quitter;
std::atomic<bool> g_quitDone{false};

void OnInventoryQuit(const TesselAPICallbackResult*, const TesselInventoryItem*, unsigned int)
{
    ++g_calls;
    switch (g_quit) {
    case Quit::UnInitialize: Tessel_UnInitialize(); break;
    case Quit::UnInitializeThenInitialize:
        Tessel_UnInitialize();
        Tessel_Initialize(L"shutdown-test");
        break;
    case Quit::FromAnotherThread: {
        // That shutdown waits for this pump; the callback gives it time to
        // get there (or, were it not waiting, to finish).
        g_quitter = std::thread([] {
            Tessel_UnInitialize();
            g_quitDone = true;
        });
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
        while (!g_quitDone && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        break;
    }
    }
}

class ShutdownTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_calls = 0;
        ASSERT_EQ(Tessel_Initialize(L"shutdown-test").resultCode, 0u);
    }

    // An inventory fetch, then a purchase with onDestroy, both answered in
    // the pump whose first callback quits: the purchase's result must reach
    // its trampoline before the destroy notice that frees their context.
    static void QuitInsideAPump(Quit quit)
    {
        g_calls = 0;
        Tessel_Initialize(L"shutdown-test");
        ASSERT_EQ(TesselAPI_IAPInitialize(L"store").resultCode, 0u);
        g_quit = quit;
        TesselAPI_FetchInventory(&OnInventoryQuit, nullptr);
        StartPurchase(&OnPurchase);
        Tessel_RunCallbacks();
        if (g_quitter.joinable()) {
            g_quitter.join();
        }
        Tessel_RunCallbacks();
        EXPECT_EQ(g_calls, 1) << "only the quitting callback ran";
        TesselAPI_IAPUnInitialize();
        Tessel_UnInitialize();
    }
};

TEST_F(ShutdownTest, PendingRequestsAreFreedWithoutCallingTheGame)
{
    ASSERT_EQ(TesselAPI_GamingServicesInitialize().resultCode, 0u);
    TesselAPI_FetchCharacter(L"hero", L"eu", &OnCharacter, nullptr);
    TesselAPI_FetchCharacter(L"hero", L"us", &OnCharacter, nullptr);
    EXPECT_EQ(Tessel_UnInitialize().resultCode, 0u);
    EXPECT_EQ(Tessel_RunCallbacks(), 0u);
    EXPECT_EQ(g_calls, 0);
    EXPECT_EQ(TesselAPI_GamingServicesUnInitialize().resultCode, 17u);
}

TEST_F(ShutdownTest, OpenPopupsAreClosedAndTheirContextsFreed)
{
    ASSERT_EQ(TesselAPI_IAPInitialize(L"store").resultCode, 0u);
    StartPurchase(&OnPurchase);
    Tessel_RunCallbacks();
    ASSERT_EQ(g_calls, 1) << "the purchase result arrived; its popup is open";
    ASSERT_EQ(Tessel::PCSDK::Sandbox::OpenPopups().size(), 1u);

    EXPECT_EQ(Tessel_UnInitialize().resultCode, 0u);
    EXPECT_TRUE(Tessel::PCSDK::Sandbox::OpenPopups().empty());
    Tessel_RunCallbacks();
    EXPECT_EQ(g_calls, 1) << "onDestroy is not called after shutdown";
    TesselAPI_IAPUnInitialize();
}

TEST_F(ShutdownTest, QuittingInsideACallbackKeepsEveryResultAheadOfItsDestroyNotice)
{
    QuitInsideAPump(Quit::UnInitialize);
    QuitInsideAPump(Quit::UnInitializeThenInitialize);
}

// The quitting callback is the result of the purchase whose window is open:
// the window's destroy notice frees the context the running result
// trampoline still reads once the callback returns, so it must wait until
// that trampoline has returned.
TEST_F(ShutdownTest, QuittingInsideTheResultOfAShownPopupLetsItsTrampolineFinish)
{
    ASSERT_EQ(TesselAPI_IAPInitialize(L"store").resultCode, 0u);
    StartPurchase([](const TesselAPICallbackResult*, const TesselPurchaseResult*) {
        ++g_calls;
        Tessel_UnInitialize();
    });
    Tessel_RunCallbacks();
    EXPECT_TRUE(Tessel::PCSDK::Sandbox::OpenPopups().empty());
    Tessel_RunCallbacks();
    EXPECT_EQ(g_calls, 1) << "onDestroy is not called after shutdown";
    TesselAPI_IAPUnInitialize();
}

// A callback that closes every popup and then pumps itself: that pump must
// not run the purchase window's destroy notice (which frees the context)
// ahead of the purchase's result, still waiting in the running pump.
TEST_F(ShutdownTest, APumpInsideACallbackIsRefused)
{
    static std::string order;
    order.clear();
    ASSERT_EQ(TesselAPI_IAPInitialize(L"store").resultCode, 0u);
    TesselAPI_FetchInventory(
        [](const TesselAPICallbackResult*, const TesselInventoryItem*, unsigned int) {
            TesselAPI_IAPCloseAllPopups();
            order += Tessel_RunCallbacks() == 0 ? "refused " : "ran ";
        },
        nullptr);
    TesselOrderProduct product{110, 9.90, 1};
    TesselStartPurchaseParam purchase{};
    purchase.orderProducts = &product;
    purchase.orderProductCount = 1;
    TesselAPI_StartPurchaseEx(
        &purchase, [](const TesselAPICallbackResult*, const TesselPurchaseResult*) { order += "result "; },
        [](TesselAPICallbackResult*) { order += "destroy "; }, nullptr, nullptr);
    Tessel_RunCallbacks();
    Tessel_RunCallbacks();
    EXPECT_EQ(order, "refused result destroy ");
    TesselAPI_IAPUnInitialize();
    Tessel_UnInitialize();
}

TEST_F(ShutdownTest, QuittingFromAnotherThreadWaitsForTheRunningPump)
{
    QuitInsideAPump(Quit::FromAnotherThread);
}

}  // namespace
