// Faults of the sandbox's world found while driving it from the console:
// each test failed before its fix.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>

#include "tessel/base/TesselBase.h"
#include "tessel/sandbox/TesselSandbox.h"
#include "tessel/vendra/Vendra.h"

namespace {

struct Seen {
    int answers = 0;
    uint32_t code = 0;
    int32_t progress = -1;
    bool urlEmpty = false;
};
Seen g_seen;

void OnPurchase(const TesselAPICallbackResult* result, const TesselPurchaseResult* purchase)
{
    ++g_seen.answers;
    g_seen.code = result->result.resultCode;
    if (purchase != nullptr) {
        g_seen.progress = purchase->purchaseProgress;
        g_seen.urlEmpty = purchase->oneTimePaymentUrl == nullptr || purchase->oneTimePaymentUrl[0] == L'\0';
    }
}

void OnDestroy(TesselAPICallbackResult*) {}

class WorldFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_seen = {};
        ASSERT_EQ(Tessel_Initialize(L"world-faults").resultCode, TESSEL_RESULT_SUCCESS);
        ASSERT_EQ(TesselAPI_IAPInitialize(L"world-faults").resultCode, TESSEL_RESULT_SUCCESS);
    }
    void TearDown() override
    {
        TesselAPI_IAPUnInitialize();
        Tessel_UnInitialize();
    }
    static uint32_t Buy(int64_t productId)
    {
        TesselOrderProduct order = {productId, 0, 1};
        TesselStartPurchaseParam purchase;
        std::memset(&purchase, 0, sizeof purchase);
        purchase.orderProducts = &order;
        purchase.orderProductCount = 1;
        TesselAPI_StartPurchaseEx(&purchase, &OnPurchase, &OnDestroy, nullptr, nullptr);
        Tessel_RunCallbacks();
        TesselSandbox_CloseAllPopups();
        Tessel_RunCallbacks();
        return g_seen.code;
    }
};

// Product 110 may be bought once per member: after a new profile is loaded
// the player's earlier purchase no longer counts.
TEST_F(WorldFaults, LoadingAProfileStartsThePurchaseHistoryOver)
{
    ASSERT_EQ(Buy(110), TESSEL_RESULT_SUCCESS);
    ASSERT_NE(Buy(110), TESSEL_RESULT_SUCCESS);  // the limit is reached
    ASSERT_EQ(TesselSandbox_LoadProfileText("{}", 2), TESSEL_RESULT_SUCCESS);
    EXPECT_EQ(Buy(110), TESSEL_RESULT_SUCCESS);
}

TEST_F(WorldFaults, APurchaseThatNeedsNoPaymentWindowCarriesNoPaymentUrl)
{
    ASSERT_EQ(Buy(101), TESSEL_RESULT_SUCCESS);
    EXPECT_EQ(g_seen.progress, TESSEL_PURCHASE_PROGRESS_NOT_NEED_PAYMENT_WINDOW);
    EXPECT_TRUE(g_seen.urlEmpty);
}

}  // namespace
