// A game that shuts the platform down with requests still pending and
// popups still open: no callback runs any more, and every module frees what
// it kept (the sanitizer preset reports anything left behind).
#include "TestSupport.hpp"
#include "tessel/sandbox/SandboxShop.hpp"
#include "tessel/ludex/Ludex.h"
#include "tessel/vendra/Vendra.h"

namespace {

int g_calls = 0;

void OnCharacter(const TesselAPICallbackResult*, const wchar_t*) { ++g_calls; }
void OnPurchase(const TesselAPICallbackResult*, const TesselPurchaseResult*) { ++g_calls; }
void OnDestroy(TesselAPICallbackResult*) { ++g_calls; }

class ShutdownTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_calls = 0;
        ASSERT_EQ(Tessel_Initialize(L"shutdown-test").resultCode, 0u);
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
    TesselOrderProduct order{110, 9.90, 1};
    TesselStartPurchaseParam purchase{};
    purchase.orderProducts = &order;
    purchase.orderProductCount = 1;
    purchase.purchaseOption.width = 420;
    purchase.purchaseOption.height = 700;
    TesselAPI_StartPurchaseEx(&purchase, &OnPurchase, &OnDestroy, nullptr, nullptr);
    Tessel_RunCallbacks();
    ASSERT_EQ(g_calls, 1) << "the purchase result arrived; its popup is open";
    ASSERT_EQ(Tessel::PCSDK::Sandbox::OpenPopups().size(), 1u);

    EXPECT_EQ(Tessel_UnInitialize().resultCode, 0u);
    EXPECT_TRUE(Tessel::PCSDK::Sandbox::OpenPopups().empty());
    Tessel_RunCallbacks();
    EXPECT_EQ(g_calls, 1) << "onDestroy is not called after shutdown";
    TesselAPI_IAPUnInitialize();
}

}  // namespace
