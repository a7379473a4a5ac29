// The sandbox shop end to end through Vendra: catalog, pages, a purchase
// with its popup and onDestroy, the inventory, confirmation, terms,
// withdrawal and closing popups.
#include "VendraTestSupport.hpp"
#include "tessel/sandbox/TesselSandbox.h"

namespace vendra_test {
namespace {

class ShopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_events.clear();
        Tessel_Initialize(L"shop-test");
        ASSERT_EQ(TesselAPI_IAPInitialize(L"sandbox").resultCode, 0u);
    }
    void TearDown() override
    {
        TesselSandbox_ClearOutcomes();
        Sandbox::ClosePopups();
        Pump();
        TesselAPI_IAPUnInitialize();
        Tessel_UnInitialize();
    }
    static Event PumpOne(const char* what)
    {
        g_events.clear();
        Pump();
        EXPECT_EQ(EventNames(), std::vector<std::string>{what});
        return g_events.empty() ? Event{} : g_events.front();
    }
};

TEST_F(ShopTest, CatalogHasTwoLevelsOfCategoriesAndPagesHonourNumberAndSize)
{
    TesselAPI_FetchShopCategories(&CCategories, &g_context);
    const Event categories = PumpOne("categories");
    EXPECT_GE(categories.count, 3u);
    std::set<long long> depths;
    for (std::size_t i = 1; i < categories.numbers.size(); i += 2) {
        depths.insert(categories.numbers[i]);
    }
    EXPECT_EQ(depths, (std::set<long long>{1, 2}));

    TesselFetchProductParam page{nullptr, 1, 5};
    TesselAPI_FetchProducts(&page, &CProducts, &g_context);
    EXPECT_EQ(PumpOne("products").count, 5u);
    page.pageNumber = 100;
    TesselAPI_FetchProducts(&page, &CProducts, &g_context);
    const Event beyond = PumpOne("products");
    EXPECT_EQ(beyond.count, 0u);
    EXPECT_EQ(beyond.outcome.resultCode, 0u);

    IAP::TesselPCFetchProductParam all;
    all.SetPageSize(100);
    IAP::IAP_FetchProducts(&all, &CppProducts);
    const Event every = PumpOne("products");
    EXPECT_GE(every.count, 12u);
    std::set<long long> types, discounts, limits;
    for (std::size_t i = 0; i + 9 < every.numbers.size(); i += 10) {
        types.insert(every.numbers[i + 2]);
        discounts.insert(every.numbers[i + 5]);
        limits.insert(every.numbers[i + 8]);
    }
    EXPECT_EQ(types, (std::set<long long>{0, 1, 2, 3}));
    EXPECT_EQ(discounts, (std::set<long long>{0, 1, 2}));
    EXPECT_EQ(limits, (std::set<long long>{0, 1, 2, 3}));

    page = {L"no-such-category", 1, 5};
    TesselAPI_FetchProductsEx(&page, &CProductsEx, &g_context);
    EXPECT_EQ(PumpOne("productsEx").outcome.resultCode, 21u);
}

TEST_F(ShopTest, APurchaseOpensItsPopupFillsTheInventoryAndOnDestroyFollowsTheClose)
{
    const TesselOrderProduct order[2] = {{101, 3.0, 1}, {106, 0.5, 2}};
    TesselStartPurchaseParam param{};
    param.orderProducts = order;
    param.orderProductCount = 2;
    param.extraData = L"order-7";
    TesselAPI_StartPurchaseEx(&param, &CPurchase, &COnDestroy, &g_context, &g_destroyContext);
    const Event purchase = PumpOne("purchase");
    EXPECT_EQ(purchase.outcome.resultCode, 0u);
    EXPECT_EQ(purchase.texts[1].text, L"order-7");
    ASSERT_GE(purchase.numbers.size(), 6u);
    EXPECT_EQ(purchase.numbers[2], 1) << "purchased";
    EXPECT_EQ(purchase.numbers[3], 2) << "two detail numbers";
    EXPECT_EQ(purchase.numbers[4], 2) << "two purchased products";
    EXPECT_GE(purchase.numbers[5], 1) << "charge infos";
    ASSERT_EQ(Sandbox::OpenPopups().size(), 1u);
    EXPECT_EQ(Sandbox::OpenPopups()[0].kind, L"purchase");

    TesselAPI_FetchInventory(&CInventory, &g_context);
    const Event inventory = PumpOne("inventory");
    ASSERT_EQ(inventory.count, 2u);
    EXPECT_EQ(inventory.numbers[2], 101);
    EXPECT_EQ(inventory.numbers[7], 20) << "ten potions, twice";

    TesselAPI_ConfirmPurchase(purchase.numbers[0], &CConfirm, &g_context);
    const Event confirm = PumpOne("confirm");
    EXPECT_TRUE(confirm.flag);
    EXPECT_EQ(confirm.numbers[0], 2);

    EXPECT_EQ(TesselAPI_IAPCloseAllPopups().resultCode, 0u);
    EXPECT_TRUE(Sandbox::OpenPopups().empty());
    const Event destroyed = PumpOne("onDestroy");
    EXPECT_EQ(destroyed.outcome.userContext, &g_destroyContext);
}

TEST_F(ShopTest, AnOrderCountNoListCanHoldIsAnsweredWithCode22AtOnce)
{
    const TesselOrderProduct order[1] = {{101, 3.0, 1}};
    TesselStartPurchaseParam param{};
    param.orderProducts = order;
    param.orderProductCount = 0xFFFFFFFFu;  // the caller's mistake: nothing past order[0] is read
    TesselAPI_StartPurchaseEx(&param, &CPurchase, &COnDestroy, &g_context, &g_destroyContext);
    g_events.clear();
    Pump();
    ASSERT_EQ(EventNames(), (std::vector<std::string>{"purchase", "onDestroy"}));
    EXPECT_EQ(g_events[0].outcome.resultCode, TESSEL_RESULT_OUT_OF_MEMORY);
    EXPECT_EQ(g_events[1].outcome.resultCode, TESSEL_RESULT_POPUP_NOT_CREATED);
}

TEST_F(ShopTest, APopupThatCannotBeCreatedIsReportedToTheCOnDestroyOnly)
{
    Sandbox::SetShopPopupsCreated(false);
    const TesselOrderProduct order[1] = {{104, 4.5, 1}};
    TesselStartPurchaseParam param{};
    param.orderProducts = order;
    param.orderProductCount = 1;
    TesselAPI_StartPurchaseEx(&param, &CPurchase, &COnDestroy, &g_context, &g_destroyContext);
    IAP::IAP_WithdrawGame(nullptr, &CppWithdraw, &CppOnDestroy);
    TesselAPI_StartPaymentEx(nullptr, &CPayment, &COnDestroy, &g_context, &g_destroyContext);
    IAP::IAP_StartPaymentEx(nullptr, &CppPayment, &CppOnDestroy);
    Pump();
    ASSERT_EQ(EventNames(), (std::vector<std::string>{"purchase", "onDestroy", "withdraw", "payment", "onDestroy",
                                                      "payment"}))
        << "the payment's destroy context is freed through its destroy trampoline, heard only in C";
    EXPECT_EQ(g_events[4].outcome.resultCode, 33u);
    EXPECT_EQ(g_events[4].outcome.userContext, &g_destroyContext);
    EXPECT_EQ(g_events[1].outcome.resultCode, 33u);
    EXPECT_TRUE(Sandbox::OpenPopups().empty());
    EXPECT_TRUE(Sandbox::ShopInventory().empty());
}

TEST_F(ShopTest, LimitsTermsPaymentAndWithdrawalWithTheirPopups)
{
    IAP::TesselPCStartPurchaseParam param;
    param.CreateOrderProduct(1);
    IAP::TesselPCOrderProduct dlc;
    dlc.SetProductId(112);
    dlc.SetQuantity(1);
    param.SetOrderProduct(0, &dlc);
    IAP::IAP_StartPurchase(&param, &CppPurchase);
    EXPECT_EQ(PumpOne("purchase").outcome.resultCode, 0u);
    IAP::IAP_StartPurchase(&param, &CppPurchase);
    EXPECT_EQ(PumpOne("purchase").outcome.resultCode, 19u) << "one per member";

    const TesselTermsOption agree{0, 1, 0, 0, 0, 800, 600};
    TesselAPI_FetchTermsAgreementEx(&agree, &CTerms, &COnDestroy, &g_context, &g_destroyContext);
    EXPECT_TRUE(PumpOne("terms").flag);
    TesselAPI_StartPaymentEx(nullptr, &CPayment, &COnDestroy, &g_context, &g_destroyContext);
    EXPECT_FALSE(PumpOne("payment").texts[0].text.empty());
    TesselAPI_WithdrawGame(nullptr, &CWithdraw, &COnDestroy, &g_context, &g_destroyContext);
    EXPECT_TRUE(PumpOne("withdraw").flag) << "the expansion can be withdrawn";
    EXPECT_TRUE(Sandbox::ShopInventory().empty());

    const auto popups = Sandbox::OpenPopups();
    ASSERT_EQ(popups.size(), 4u);
    EXPECT_TRUE(Sandbox::ClosePopup(popups[2].id));
    EXPECT_FALSE(Sandbox::ClosePopup(popups[2].id));
    PumpOne("onDestroy");
    g_events.clear();
    EXPECT_EQ(IAP::IAP_CloseAllPopups().GetResultCode(), 0u);
    Pump();
    EXPECT_EQ(EventNames(), (std::vector<std::string>{"onDestroy", "onDestroy"}))
        << "the C++ purchase had no onDestroy";
}


// --- What a failed answer carries: nothing ------------------------------------

constexpr uint32_t kVendra = TESSEL_SANDBOX_MODULE_VENDRA;
constexpr uint32_t kCode = TESSEL_SANDBOX_OUTCOME_RESULT_CODE;

TEST_F(ShopTest, ScriptedTermsFailureCarriesNoTermsText)
{
    const TesselTermsOption show{0, 0, 0, 0, 0, 800, 600};
    PushOutcome(kVendra, TESSEL_VENDRA_OP_FETCH_TERMS_AGREEMENT, {kCode, 500});
    TesselAPI_FetchTermsAgreementEx(&show, &CTerms, &COnDestroy, &g_context, &g_destroyContext);
    PushOutcome(kVendra, TESSEL_VENDRA_OP_FETCH_TERMS_AGREEMENT, {kCode, 500});
    IAP::TesselPCTermsOption option;
    IAP::IAP_FetchTermsAgreement(&option, &CppTerms);
    Pump();
    ASSERT_EQ(EventNames(), (std::vector<std::string>{"terms", "onDestroy", "terms"}));
    for (const Event* terms : {&g_events[0], &g_events[2]}) {
        EXPECT_EQ(terms->outcome.resultCode, 500u);
        EXPECT_EQ(terms->texts[0].text, L"");
        EXPECT_FALSE(terms->flag);
    }
}

TEST_F(ShopTest, ScriptedConfirmationFailureConfirmsNothingEvenWithAFlag)
{
    const TesselOrderProduct order[1] = {{101, 3.0, 1}};
    TesselStartPurchaseParam param{};
    param.orderProducts = order;
    param.orderProductCount = 1;
    TesselAPI_StartPurchase(&param, &CPurchase, &g_context);
    const long long master = PumpOne("purchase").numbers[0];
    PushOutcome(kVendra, TESSEL_VENDRA_OP_CONFIRM_PURCHASE, {kCode | TESSEL_SANDBOX_OUTCOME_FLAG, 22, false, true});
    TesselAPI_ConfirmPurchase(master, &CConfirm, &g_context);
    const Event failed = PumpOne("confirm");
    EXPECT_EQ(failed.outcome.resultCode, 22u);
    EXPECT_FALSE(failed.flag);
    EXPECT_EQ(failed.numbers, (std::vector<long long>{0, 0})) << "no products, no charges";
    TesselAPI_ConfirmPurchase(master, &CConfirm, &g_context);
    EXPECT_TRUE(PumpOne("confirm").flag) << "the failure left the purchase as it was";
}

TEST_F(ShopTest, EmptyListsOutcomeEmptiesTheTransactionDetailNumbers)
{
    const TesselOrderProduct order[1] = {{101, 3.0, 1}};
    TesselStartPurchaseParam param{};
    param.orderProducts = order;
    param.orderProductCount = 1;
    PushOutcome(kVendra, TESSEL_VENDRA_OP_START_PURCHASE, {TESSEL_SANDBOX_OUTCOME_EMPTY_LIST});
    TesselAPI_StartPurchase(&param, &CPurchase, &g_context);
    const Event purchase = PumpOne("purchase");
    EXPECT_EQ(purchase.outcome.resultCode, 0u);
    EXPECT_EQ(std::vector<long long>(purchase.numbers.begin() + 3, purchase.numbers.end()),
              (std::vector<long long>{0, 0, 0}))
        << "detail numbers, purchased products and charge infos are all empty";
}

// A failure code wins over "popup created" and over a flag: nothing opens.
TEST_F(ShopTest, ScriptedFailureOpensNoPopupWhateverElseItSays)
{
    PushOutcome(kVendra, TESSEL_VENDRA_OP_WITHDRAW_GAME,
                {kCode | TESSEL_SANDBOX_OUTCOME_POPUP_CREATED | TESSEL_SANDBOX_OUTCOME_FLAG, 500, true, true});
    TesselAPI_WithdrawGame(nullptr, &CWithdraw, &COnDestroy, &g_context, &g_destroyContext);
    Pump();
    ASSERT_EQ(EventNames(), (std::vector<std::string>{"withdraw", "onDestroy"}));
    EXPECT_EQ(g_events[0].outcome.resultCode, 500u);
    EXPECT_FALSE(g_events[0].flag);
    EXPECT_EQ(g_events[1].outcome.resultCode, 33u);
    EXPECT_TRUE(Sandbox::OpenPopups().empty());
}

// A window that does not open answers 33, even for an order the shop refuses.
TEST_F(ShopTest, PopupNotCreatedAnswers33BeforeTheOrderIsChecked)
{
    TesselStartPurchaseParam empty{};
    PushOutcome(kVendra, TESSEL_VENDRA_OP_START_PURCHASE, {TESSEL_SANDBOX_OUTCOME_POPUP_CREATED});
    TesselAPI_StartPurchase(&empty, &CPurchase, &g_context);
    EXPECT_EQ(PumpOne("purchase").outcome.resultCode, 33u);
}

}  // namespace
}  // namespace vendra_test
