// Vendra requests against the scripted platform: what reaches the platform,
// how completions are converted in both interfaces, the popup lifecycle
// with onDestroy, and the not-initialized path.
#include <functional>

#include "VendraTestSupport.hpp"

namespace vendra_test {
namespace {

using Sandbox::Call;
using Sandbox::ParamValue;
using Sandbox::ScriptedResult;
using Sandbox::SetterCall;
using IntCalls = std::vector<SetterCall>;

SetterCall I(int position, int32_t value) { return {position, ParamValue(value)}; }
SetterCall T(int position, const wchar_t* value) { return {position, ParamValue(std::wstring(value))}; }

constexpr const wchar_t* kNotCreated = L"Popup was not created; internal onDestroy notification for wrapper cleanup.";
constexpr const wchar_t* kNeverAttempted = L"Vendra was not initialized; popup was never attempted.";

// --- What reaches the platform ------------------------------------------------------

using RequestsTest = VendraTest;

TEST_F(RequestsTest, ProductPageDefaultsForANullParameterAndANullCategory)
{
    Initialize();
    TesselAPI_FetchProducts(nullptr, &CProducts, &g_context);
    EXPECT_EQ(OnlyParam(Base::kProductPageParam).calls, (IntCalls{T(5, L""), I(7, 1), I(9, 20)}));
    EXPECT_EQ(OnlyParam(Base::kProductPageParam).releaseCalls, 1u);
    EXPECT_EQ(Request(0).function, "Tessel_FetchProducts");
    EXPECT_EQ(Request(0).param, OnlyParam(Base::kProductPageParam).object);

    IAP::TesselPCFetchProductParam param;
    param.SetCategoryId(nullptr);
    param.SetPageNumber(3);
    param.SetPageSize(-4);  // passed on unchecked
    IAP::IAP_FetchProductsEx(&param, nullptr);
    ASSERT_EQ(Sandbox::Script::Params().size(), 2u);
    EXPECT_EQ(Sandbox::Script::Params()[1].calls, (IntCalls{T(5, L""), I(7, 3), I(9, -4)}));
    EXPECT_EQ(Request(1).function, "Tessel_Internal_IAP_FetchProductsEx");
    EXPECT_EQ(Request(1).trampoline, nullptr);
    EXPECT_EQ(Request(1).context, nullptr);
}

TEST_F(RequestsTest, ListRequestsWithoutParametersSendNone)
{
    Initialize();
    TesselAPI_FetchShopCategories(&CCategories, &g_context);
    IAP::IAP_FetchInventory(&CppInventory);
    TesselAPI_FetchVoidedPurchases(&CVoided, &g_context);
    ASSERT_EQ(Sandbox::Script::Requests().size(), 3u);
    EXPECT_EQ(Request(0).function, "Tessel_FetchShopCategories");
    EXPECT_EQ(Request(1).function, "Tessel_FetchInventory");
    EXPECT_EQ(Request(2).function, "Tessel_Internal_IAP_FetchVoidedPurchases");
    for (const auto& request : Sandbox::Script::Requests()) {
        EXPECT_EQ(request.param, nullptr);
        EXPECT_NE(request.trampoline, nullptr);
        EXPECT_NE(request.context, nullptr);
    }
    EXPECT_TRUE(Sandbox::Script::Params().empty());
}

TEST_F(RequestsTest, StartPurchaseBuildsOrderOptionAndPurchaseObjectsAndReleasesThemAll)
{
    Initialize();
    const TesselOrderProduct order[3] = {{101, 2.5, 1}, {102, 9.6, 2}, {103, 13.0, 3}};
    TesselStartPurchaseParam param{};
    param.orderProducts = order;
    param.orderProductCount = 3;
    param.purchaseOption = {0, 7, 9, 1, 2, 3, 4};  // out of range, passed on unchanged by C
    param.serviceTxnNo = L"txn-1";
    param.extraData = nullptr;
    TesselAPI_StartPurchaseEx(&param, &CPurchase, &COnDestroy, &g_context, &g_destroyContext);

    const auto& params = Sandbox::Script::Params();
    ASSERT_EQ(params.size(), 5u);
    EXPECT_EQ(params[0].typeId, Base::kStartPurchaseParam);
    for (std::size_t i = 1; i <= 3; ++i) {
        EXPECT_EQ(params[i].typeId, Base::kOrderProductParam);
    }
    EXPECT_EQ(params[2].calls, (IntCalls{{5, ParamValue(int64_t{102})}, {7, ParamValue(9.6)}, I(9, 2)}));
    EXPECT_EQ(params[4].typeId, Base::kPurchaseOptionParam);
    EXPECT_EQ(params[4].calls, (IntCalls{I(15, 7), I(5, 9), I(7, 1), I(9, 2), I(11, 3), I(13, 4)}));
    const std::vector<const Base::IParam*> list{params[1].object, params[2].object, params[3].object};
    EXPECT_EQ(params[0].calls, (IntCalls{{6, ParamValue(list)}, {8, ParamValue(params[4].object)}, T(10, L"txn-1"),
                                         T(12, L"")}));
    for (const auto& record : params) {
        EXPECT_EQ(record.releaseCalls, 1u);
    }
    EXPECT_EQ(Sandbox::Script::ReleaseOrder(), (std::vector<const Base::IParam*>{params[0].object, params[1].object,
                                                                               params[2].object, params[3].object,
                                                                               params[4].object}))
        << "released in creation order";
    const auto& request = Request(0);
    EXPECT_EQ(request.param, params[0].object);
    EXPECT_NE(request.secondTrampoline, nullptr);
    EXPECT_EQ(request.secondContext, request.context) << "one context serves both trampolines";
}

// The platform may read a text until the request call returns: the sandbox
// reads the kept pointers then, so a text the module freed earlier arrives
// corrupted (and AddressSanitizer reports the read in the sanitize preset).
TEST_F(RequestsTest, RequestTextsLiveUntilThePlatformCallHasReturned)
{
    Initialize();
    Sandbox::Script::KeepTextPointers();
    const std::wstring category(40, L'c');
    const TesselFetchProductParam page{category.c_str(), 1, 5};
    TesselAPI_FetchProducts(&page, &CProducts, &g_context);
    IAP::TesselPCStartPurchaseParam purchase;
    const std::wstring txn(40, L't');
    const std::wstring extra(40, L'x');
    purchase.SetServiceTxnNo(txn.c_str());
    purchase.SetExtraData(extra.c_str());
    IAP::IAP_StartPurchase(&purchase, &CppPurchase);

    const auto& params = Sandbox::Script::Params();
    ASSERT_EQ(params.size(), 3u);
    EXPECT_EQ(params[0].calls.front(), T(5, category.c_str()));
    EXPECT_EQ(params[1].calls.at(1), T(10, txn.c_str()));
    EXPECT_EQ(params[1].calls.at(2), T(12, extra.c_str()));
}

TEST_F(RequestsTest, CppPurchaseClampsTheOptionAndAnEmptyOrderSetsNoList)
{
    Initialize();
    IAP::TesselPCStartPurchaseParam param;
    IAP::TesselPCPurchaseOption option;
    option.SetOperation(static_cast<IAP::TesselPCPurchaseOperation>(3));
    option.SetWebviewMode(static_cast<Tessel::PCSDK::Base::WebViewMode>(-1));
    param.SetPurchaseOption(option);
    IAP::IAP_StartPurchase(&param, &CppPurchase);

    EXPECT_EQ(OnlyParam(Base::kPurchaseOptionParam).calls,
              (IntCalls{I(15, 0), I(5, 0), I(7, 0), I(9, 0), I(11, 420), I(13, 700)}));
    EXPECT_EQ(Positions(OnlyParam(Base::kStartPurchaseParam)), (std::vector<int>{8, 10, 12}));
    EXPECT_EQ(Request(0).secondTrampoline, nullptr) << "no onDestroy: no destroy trampoline";
    EXPECT_EQ(Request(0).secondContext, nullptr);
}

TEST_F(RequestsTest, OptionDefaultsAndClampingOfTermsPaymentAndWithdraw)
{
    Initialize();
    TesselAPI_FetchTermsAgreement(nullptr, &CTerms, &g_context);
    EXPECT_EQ(OnlyParam(Base::kTermsOptionParam).calls,
              (IntCalls{I(15, 0), I(5, 0), I(7, 0), I(9, 0), I(11, 800), I(13, 600)}));
    TesselAPI_StartPayment(nullptr, &CPayment, &g_context);
    EXPECT_EQ(OnlyParam(Base::kPaymentOptionParam).calls,
              (IntCalls{I(5, 0), I(7, 0), I(9, 0), I(11, 0), I(13, 420), I(15, 700)}));
    TesselAPI_WithdrawGame(nullptr, &CWithdraw, nullptr, &g_context, nullptr);
    EXPECT_EQ(OnlyParam(Base::kWithdrawOptionParam).calls, (IntCalls{I(5, 0), I(7, 0), I(9, 0), I(11, 0), I(13, 0)}));
    TesselAPI_ConfirmPurchase(900001, &CConfirm, &g_context);
    EXPECT_EQ(OnlyParam(Base::kConfirmPurchaseParam).calls, (IntCalls{{5, ParamValue(int64_t{900001})}}));

    const std::size_t first = Sandbox::Script::Params().size();
    const TesselTermsOption cTerms{0, 2, 5, 1, 2, 3, 4};
    TesselAPI_FetchTermsAgreement(&cTerms, &CTerms, &g_context);
    IAP::TesselPCTermsOption cppTerms;
    cppTerms.SetOperation(static_cast<IAP::TesselPCTermsOperation>(2));
    cppTerms.SetWebviewMode(static_cast<Tessel::PCSDK::Base::WebViewMode>(5));
    IAP::IAP_FetchTermsAgreement(&cppTerms, &CppTerms);
    IAP::TesselPCPaymentOption cppPayment;
    cppPayment.SetOperation(static_cast<IAP::TesselPCPaymentOperation>(5));
    IAP::IAP_StartPayment(&cppPayment, &CppPayment);
    const TesselPaymentOption cPayment{0, 5, 1, 0, 0, 10, 10};
    TesselAPI_StartPayment(&cPayment, &CPayment, &g_context);
    IAP::TesselPCWithdrawGameOption cppWithdraw;
    cppWithdraw.SetWebviewMode(static_cast<Tessel::PCSDK::Base::WebViewMode>(2));
    cppWithdraw.SetWebviewRect(1, 2, 3, 4);
    IAP::IAP_WithdrawGame(&cppWithdraw, &CppWithdraw, nullptr);

    const std::vector<Sandbox::ParamRecord>& all = Sandbox::Script::Params();
    const std::vector<Sandbox::ParamRecord> params(all.begin() + static_cast<long>(first), all.end());
    ASSERT_EQ(params.size(), 5u);
    EXPECT_EQ(params[0].calls, (IntCalls{I(15, 2), I(5, 5), I(7, 1), I(9, 2), I(11, 3), I(13, 4)}));
    EXPECT_EQ(params[1].calls, (IntCalls{I(15, 0), I(5, 0), I(7, 0), I(9, 0), I(11, 800), I(13, 600)}));
    EXPECT_EQ(params[2].calls.front(), I(5, 0));
    EXPECT_EQ(params[3].calls.front(), I(5, 5));
    EXPECT_EQ(params[4].calls, (IntCalls{I(5, 0), I(7, 1), I(9, 2), I(11, 3), I(13, 4)}));
}

TEST_F(RequestsTest, AFailedParameterObjectStillSendsTheRequestWithNull)
{
    Initialize();
    Sandbox::Script::FailParamCreation(Base::kStartPurchaseParam);
    Sandbox::Script::FailParamCreation(Base::kConfirmPurchaseParam);
    TesselAPI_StartPurchase(nullptr, &CPurchase, &g_context);
    IAP::IAP_ConfirmPurchase(5, &CppConfirm);
    ASSERT_EQ(Sandbox::Script::Requests().size(), 2u);
    EXPECT_EQ(Request(0).param, nullptr);
    EXPECT_EQ(Request(1).param, nullptr);
    EXPECT_TRUE(Sandbox::Script::Params().empty()) << "nothing else is created for a purchase without its object";
}

TEST_F(RequestsTest, WithoutAResultCallbackNoTrampolineIsSentEvenWithOnDestroy)
{
    // Not initialized: without a callback the request still goes out.
    TesselAPI_StartPaymentEx(nullptr, nullptr, &COnDestroy, nullptr, &g_destroyContext);
    IAP::IAP_StartPurchaseEx(nullptr, nullptr, &CppOnDestroy);
    TesselAPI_WithdrawGame(nullptr, nullptr, &COnDestroy, nullptr, &g_destroyContext);
    ASSERT_EQ(Sandbox::Script::Requests().size(), 3u);
    for (const auto& request : Sandbox::Script::Requests()) {
        EXPECT_EQ(request.trampoline, nullptr);
        EXPECT_EQ(request.secondTrampoline, nullptr);
        EXPECT_EQ(request.context, nullptr);
        EXPECT_EQ(request.secondContext, nullptr);
    }
    EXPECT_EQ(Sandbox::Script::QueuedCallbacks(), 0u);
}

// --- Completions --------------------------------------------------------------------

Sandbox::ShopCategoryItem Category(const wchar_t* id, int depth)
{
    Sandbox::ShopCategoryItem item;
    item.categoryId = id;
    item.parentCategoryId = std::nullopt;
    item.displayNumber = 4;
    item.name = L"Swords";
    item.depth = depth;
    return item;
}

TEST_F(RequestsTest, CategoriesReachBothInterfacesAlikeWithNullItemsAndNullTextsAsEmpty)
{
    Initialize();
    TesselAPI_FetchShopCategories(&CCategories, &g_context);
    IAP::IAP_FetchShopCategories(&CppCategories);
    Sandbox::ShopCategoryItem swords = Category(L"swords", 2);
    Sandbox::ListObject list({&swords, nullptr});
    Finish(0, &list);
    Finish(1, &list);

    ASSERT_EQ(g_events.size(), 2u);
    for (const Event& event : g_events) {
        EXPECT_EQ(event.count, 2u);
        ASSERT_EQ(event.texts.size(), 6u);
        for (const TextCopy& text : event.texts) {
            EXPECT_FALSE(text.isNull);
        }
        EXPECT_EQ(event.texts[0].text, L"swords");
        EXPECT_EQ(event.texts[1].text, L"");
        EXPECT_EQ(event.texts[2].text, L"Swords");
        EXPECT_EQ(event.texts[3].text, L"");
        EXPECT_EQ(event.numbers, (std::vector<long long>{4, 2, 0, 0}));
    }
    EXPECT_EQ(g_events[0].outcome.userContext, &g_context);
    EXPECT_EQ(list.GetReleaseCalls(), 0u) << "the platform's objects stay the platform's";
}

TEST_F(RequestsTest, EmptyAndNullListsGiveANullArray)
{
    Initialize();
    TesselAPI_FetchProducts(nullptr, &CProducts, &g_context);
    IAP::IAP_FetchProducts(nullptr, &CppProducts);
    TesselAPI_FetchInventory(&CInventory, &g_context);
    IAP::IAP_FetchVoidedPurchases(&CppVoided);
    Sandbox::ListObject empty;
    Finish(0, &empty);
    Finish(1, nullptr);
    Finish(2, nullptr);
    FinishArray(3, nullptr, 0);
    ASSERT_EQ(g_events.size(), 4u);
    for (const Event& event : g_events) {
        EXPECT_TRUE(event.arrayWasNull) << event.what;
        EXPECT_EQ(event.count, 0u) << event.what;
    }
}

TEST_F(RequestsTest, ProductsCarryEveryFieldAndANullItemArrayWithACountGivesEmptyElements)
{
    Initialize();
    Sandbox::ProductFields fields;
    fields.productId = 102;
    fields.gameItemId = L"sword_flame";
    fields.name = std::nullopt;
    fields.categoryName = L"Swords";
    fields.productTypeCode = 2;
    fields.salePrice = 9.5;
    fields.isDiscount = 1;
    fields.discountType = 1;
    fields.canWithdraw = 1;
    fields.purchaseLimitTypeCode = 3;
    fields.saleEndDate = 1767225600000;
    Sandbox::ProductItem product(fields);
    Sandbox::ListObject list({&product});
    TesselAPI_FetchProducts(nullptr, &CProducts, &g_context);
    IAP::IAP_FetchProducts(nullptr, &CppProducts);
    Finish(0, &list);
    Finish(1, &list);
    ASSERT_EQ(g_events.size(), 2u);
    const std::vector<long long> expected{102, 0, 2, 950, 1, 1, 1, 0, 3, 1767225600000};
    for (const Event& event : g_events) {
        EXPECT_EQ(event.numbers, expected);
        EXPECT_EQ(event.texts[0].text, L"sword_flame");
        EXPECT_FALSE(event.texts[1].isNull);
        EXPECT_EQ(event.texts[4].text, L"Swords");
    }

    g_events.clear();
    TesselAPI_FetchProductsEx(nullptr, &CProductsEx, &g_context);
    IAP::IAP_FetchProductsEx(nullptr, &CppProductsEx);
    TesselAPI_FetchVoidedPurchases(&CVoided, &g_context);
    FinishArray(2, nullptr, 3);
    FinishArray(3, nullptr, 3);
    FinishArray(4, nullptr, 3);
    ASSERT_EQ(g_events.size(), 3u);
    for (const Event& event : g_events) {
        EXPECT_EQ(event.count, 3u) << event.what;
        for (const TextCopy& text : event.texts) {
            EXPECT_FALSE(text.isNull);
            EXPECT_TRUE(text.text.empty());
        }
    }
    EXPECT_EQ(g_events[0].numbers.size(), 33u);  // 11 numbers per extended product
    EXPECT_EQ(g_events[2].texts.size(), 12u);
    EXPECT_EQ(g_events[2].numbers, std::vector<long long>(12, 0));
}

Sandbox::PurchasedProductItem Purchased(int64_t detail, int64_t product)
{
    Sandbox::PurchasedProductItem item;
    item.transactionDetailNumber = detail;
    item.productId = product;
    item.categoryId = L"bows";
    item.totalQuantity = 3;
    item.memberQuantity = 2;
    item.guidQuantity = 1;
    return item;
}

TEST_F(RequestsTest, PurchaseResultConvertsListsNullItemsAndNullTextsInBothInterfaces)
{
    Initialize();
    Sandbox::PurchasedProductItem bow = Purchased(11, 104);
    Sandbox::ChargeInfoItem wallet;
    wallet.chargeDeductVal = 4.5;
    wallet.chargeDisplayDeductVal = 4.5;
    wallet.chargeType = 1;
    wallet.chargeTypeName = std::nullopt;
    Sandbox::PurchaseResultData data;
    data.transactionMasterNumber = 900001;
    data.transactionDetailNumbers = std::vector<int64_t>{11, 12};
    data.oneTimePaymentUrl = std::nullopt;
    data.purchaseProgress = 2;
    data.isPurchased = 1;
    data.extraData = L"extra";
    data.purchasedProducts.items = {&bow, nullptr};
    data.chargeInfos.items = {&wallet};

    TesselAPI_StartPurchase(nullptr, &CPurchase, &g_context);
    IAP::IAP_StartPurchase(nullptr, &CppPurchase);
    Finish(0, &data);
    Finish(1, &data);
    ASSERT_EQ(g_events.size(), 2u);
    const std::vector<long long> expected{900001, 2, 1, 2, 2, 1, 11, 12, 11, 104, 3, 2, 1, 0, 0, 0, 0, 0, 450, 450, 1};
    for (const Event& event : g_events) {
        EXPECT_EQ(event.numbers, expected) << event.what;
        ASSERT_EQ(event.texts.size(), 5u);
        EXPECT_FALSE(event.texts[0].isNull);
        EXPECT_EQ(event.texts[1].text, L"extra");
        EXPECT_EQ(event.texts[2].text, L"bows");
        EXPECT_FALSE(event.texts[3].isNull);
        EXPECT_FALSE(event.texts[4].isNull);
    }

    // A null detail-number array with a count, and no charge infos.
    g_events.clear();
    data.transactionDetailNumbers = std::nullopt;
    data.transactionDetailNumberCount = 2;
    data.chargeInfos.items.clear();
    TesselAPI_StartPurchase(nullptr, &CPurchase, &g_context);
    Finish(2, &data);
    ASSERT_EQ(g_events.size(), 1u);
    EXPECT_EQ(g_events[0].numbers[3], 0) << "no detail numbers";
    EXPECT_EQ(g_events[0].numbers[5], 0) << "no charge infos";
}

TEST_F(RequestsTest, ConfirmPaymentTermsAndWithdrawHandTheirValuesOnAndNeutralValuesForNoData)
{
    Initialize();
    Sandbox::PurchasedProductItem bow = Purchased(11, 104);
    Sandbox::ConfirmPurchaseData confirm;
    confirm.result = true;
    confirm.purchasedProducts.items = {&bow};
    confirm.chargeInfos.count = 1;  // a null charge info
    Sandbox::TermsData terms;
    terms.agreed = true;
    terms.termsText = std::nullopt;
    Sandbox::WithdrawData withdraw;
    withdraw.withdrawn = true;

    TesselAPI_ConfirmPurchase(1, &CConfirm, &g_context);
    IAP::IAP_ConfirmPurchase(1, &CppConfirm);
    TesselAPI_ConfirmPurchase(1, &CConfirm, &g_context);
    TesselAPI_StartPayment(nullptr, &CPayment, &g_context);
    IAP::IAP_StartPayment(nullptr, &CppPayment);
    TesselAPI_FetchTermsAgreement(nullptr, &CTerms, &g_context);
    IAP::IAP_FetchTermsAgreement(nullptr, &CppTerms);
    IAP::IAP_WithdrawGame(nullptr, &CppWithdraw, nullptr);
    TesselAPI_WithdrawGame(nullptr, &CWithdraw, nullptr, &g_context, nullptr);
    Finish(0, &confirm);
    Finish(1, &confirm);
    Finish(2, nullptr);
    FinishText(3, L"P-1");
    FinishText(4, nullptr);
    Finish(5, &terms);
    Finish(6, nullptr);
    Finish(7, &withdraw);
    Finish(8, nullptr);

    ASSERT_EQ(EventNames(), (std::vector<std::string>{"confirm", "confirm", "confirm", "payment", "payment", "terms",
                                                      "terms", "withdraw", "withdraw"}));
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_TRUE(g_events[i].flag);
        EXPECT_EQ(g_events[i].numbers, (std::vector<long long>{1, 1, 11, 104, 3, 2, 1, 0, 0, 0}));
        EXPECT_EQ(g_events[i].texts[1].text, L"");
        EXPECT_FALSE(g_events[i].texts[1].isNull);
    }
    EXPECT_FALSE(g_events[2].flag);
    EXPECT_EQ(g_events[2].numbers, (std::vector<long long>{0, 0}));
    EXPECT_EQ(g_events[3].texts[0].text, L"P-1");
    EXPECT_FALSE(g_events[4].texts[0].isNull);
    EXPECT_TRUE(g_events[5].flag);
    EXPECT_FALSE(g_events[5].texts[0].isNull);
    EXPECT_FALSE(g_events[6].flag);
    EXPECT_EQ(g_events[6].texts[0].text, L"");
    EXPECT_TRUE(g_events[7].flag);
    EXPECT_FALSE(g_events[8].flag);
    EXPECT_EQ(g_events[8].outcome.userContext, &g_context);
}

// --- The popup lifecycle --------------------------------------------------------------

TEST_F(RequestsTest, NoTermsOrWithdrawDataCountsAsACreatedPopupWhoseOnDestroyWaits)
{
    Initialize();
    TesselAPI_FetchTermsAgreementEx(nullptr, &CTerms, &COnDestroy, &g_context, &g_destroyContext);
    TesselAPI_WithdrawGame(nullptr, &CWithdraw, &COnDestroy, &g_context, &g_destroyContext);
    Finish(0, nullptr);
    Finish(1, nullptr);
    EXPECT_EQ(EventNames(), (std::vector<std::string>{"terms", "withdraw"}));
    for (std::size_t i = 0; i < 2; ++i) {  // the waiting contexts go with their destroy trampolines
        Sandbox::CallbackResultObject destroyed(Request(i).secondContext, 0, 0);
        Request(i).SecondAs<Base::Trampoline>()(&destroyed, nullptr);
    }
    EXPECT_EQ(EventNames().size(), 4u);
}

struct PopupCase {
    const char* name;
    bool c;           // C interface
    bool created;     // the platform created the popup
    bool onDestroy;   // an onDestroy was given
    bool discarding;  // the platform discards user callbacks
    std::vector<std::string> atResult;   // callbacks when the result arrives
    bool kept;                           // the context waits for the destroy trampoline
};

void PrintTo(const PopupCase& c, std::ostream* out) { *out << c.name; }

class PopupTest : public VendraTest, public ::testing::WithParamInterface<PopupCase> {};

TEST_P(PopupTest, PurchaseFollowsTheStateTable)
{
    const PopupCase& c = GetParam();
    Initialize();
    if (c.c) {
        TesselAPI_StartPurchaseEx(nullptr, &CPurchase, c.onDestroy ? &COnDestroy : nullptr, &g_context,
                                  &g_destroyContext);
    } else {
        IAP::IAP_StartPurchaseEx(nullptr, &CppPurchase, c.onDestroy ? &CppOnDestroy : nullptr);
    }
    EXPECT_EQ(Request(0).secondTrampoline != nullptr, c.onDestroy);
    Sandbox::Script::SetDiscarding(c.discarding);
    Sandbox::PurchaseResultData data;
    data.popupCreated = c.created;
    Finish(0, &data);
    EXPECT_EQ(EventNames(), c.atResult);
    if (c.c && c.atResult.size() == 2) {
        const Outcome& notice = g_events[1].outcome;
        EXPECT_EQ(notice.resultCode, 33u);
        EXPECT_EQ(notice.operationCode, 82u);
        EXPECT_EQ(notice.moduleName, L"Vendra");
        EXPECT_EQ(notice.message, kNotCreated);
        EXPECT_EQ(notice.userContext, &g_destroyContext);
    }
    if (c.kept) {
        g_events.clear();
        Destroy(0, 5);
        const std::vector<std::string> destroyed =
            c.discarding ? std::vector<std::string>{} : std::vector<std::string>{"onDestroy"};
        EXPECT_EQ(EventNames(), destroyed);
        if (!c.discarding && c.c) {
            EXPECT_EQ(g_events[0].outcome.userContext, &g_destroyContext);
            EXPECT_EQ(g_events[0].outcome.resultCode, 5u) << "the platform's result, unchanged";
        }
    }
    // Under the leak checker: a context that was not kept has been freed, a
    // kept one was freed by the destroy trampoline.
}

const std::vector<std::string> kResult{"purchase"};
const std::vector<std::string> kResultThenNotice{"purchase", "onDestroy"};
const std::vector<std::string> kNothing{};

INSTANTIATE_TEST_SUITE_P(
    States, PopupTest,
    ::testing::Values(PopupCase{"CCreatedWithOnDestroy", true, true, true, false, kResult, true},
                      PopupCase{"CppCreatedWithOnDestroy", false, true, true, false, kResult, true},
                      PopupCase{"CCreatedWithout", true, true, false, false, kResult, false},
                      PopupCase{"CNotCreatedWithOnDestroy", true, false, true, false, kResultThenNotice, false},
                      PopupCase{"CppNotCreatedWithOnDestroy", false, false, true, false, kResult, false},
                      PopupCase{"CNotCreatedWithout", true, false, false, false, kResult, false},
                      PopupCase{"CDiscardingCreated", true, true, true, true, kNothing, true},
                      PopupCase{"CppDiscardingCreated", false, true, true, true, kNothing, true},
                      PopupCase{"CDiscardingNotCreated", true, false, true, true, kNothing, false}),
    [](const ::testing::TestParamInfo<PopupCase>& test) { return std::string(test.param.name); });

TEST_F(RequestsTest, ANullPurchaseResultCountsAsACreatedPopup)
{
    Initialize();
    TesselAPI_StartPurchaseEx(nullptr, &CPurchase, &COnDestroy, &g_context, &g_destroyContext);
    Finish(0, nullptr);
    EXPECT_EQ(EventNames(), kResult);
    Destroy(0);
    EXPECT_EQ(EventNames(), (std::vector<std::string>{"purchase", "onDestroy"}));
}

TEST_F(RequestsTest, TermsAndWithdrawReportAPopupNotCreatedOnlyInCAndOnlyInTheirTwoCallbackForms)
{
    Initialize();
    Sandbox::TermsData terms;
    terms.popupCreated = false;
    Sandbox::WithdrawData withdraw;
    withdraw.popupCreated = false;
    TesselAPI_FetchTermsAgreement(nullptr, &CTerms, &g_context);  // no onDestroy at all
    TesselAPI_FetchTermsAgreementEx(nullptr, &CTerms, &COnDestroy, &g_context, &g_destroyContext);
    TesselAPI_WithdrawGame(nullptr, &CWithdraw, &COnDestroy, &g_context, &g_destroyContext);
    IAP::IAP_FetchTermsAgreementEx(nullptr, &CppTerms, &CppOnDestroy);
    IAP::IAP_WithdrawGame(nullptr, &CppWithdraw, &CppOnDestroy);
    EXPECT_EQ(Request(0).secondTrampoline, nullptr);
    for (std::size_t i = 0; i < 5; ++i) {
        Finish(i, i == 0 || i == 1 || i == 3 ? static_cast<Base::IObject*>(&terms) : &withdraw);
    }
    ASSERT_EQ(EventNames(), (std::vector<std::string>{"terms", "terms", "onDestroy", "withdraw", "onDestroy", "terms",
                                                      "withdraw"}));
    EXPECT_EQ(g_events[2].outcome.operationCode, 85u);
    EXPECT_EQ(g_events[4].outcome.operationCode, 89u);
    EXPECT_EQ(g_events[4].outcome.message, kNotCreated);
    EXPECT_EQ(g_events[4].outcome.userContext, &g_destroyContext);
}

TEST_F(RequestsTest, PaymentKeepsASeparateDestroyContextAndCppSkipsCode33)
{
    Initialize();
    TesselAPI_StartPaymentEx(nullptr, &CPayment, &COnDestroy, &g_context, &g_destroyContext);
    IAP::IAP_StartPaymentEx(nullptr, &CppPayment, &CppOnDestroy);
    IAP::IAP_StartPaymentEx(nullptr, &CppPayment, &CppOnDestroy);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NE(Request(i).secondContext, nullptr);
        EXPECT_NE(Request(i).secondContext, Request(i).context);
        FinishText(i, L"paid");
    }
    EXPECT_EQ(EventNames(), (std::vector<std::string>{"payment", "payment", "payment"}))
        << "the result trampoline never calls onDestroy";
    g_events.clear();
    Destroy(0, 33);
    Destroy(1, 33);
    Destroy(2, 0);
    ASSERT_EQ(EventNames(), (std::vector<std::string>{"onDestroy", "onDestroy"}));
    EXPECT_EQ(g_events[0].outcome.userContext, &g_destroyContext);
    EXPECT_EQ(g_events[0].outcome.resultCode, 33u);
    EXPECT_EQ(g_events[1].outcome.resultCode, 0u);
}

// --- Not initialized ------------------------------------------------------------------

struct NotReadyCase {
    const char* name;
    std::function<void()> request;
    uint32_t operationCode;
    std::vector<std::string> events;
};

void PrintTo(const NotReadyCase& c, std::ostream* out) { *out << c.name; }

class NotReadyTest : public VendraTest, public ::testing::WithParamInterface<NotReadyCase> {};

TEST_P(NotReadyTest, QueuesOneJobWithItsOperationCodeAndSendsNothing)
{
    const NotReadyCase& c = GetParam();
    c.request();
    EXPECT_TRUE(g_events.empty()) << "never inside the request call";
    EXPECT_TRUE(Sandbox::Script::Requests().empty());
    EXPECT_TRUE(Sandbox::Script::Params().empty());
    EXPECT_EQ(Sandbox::Script::QueuedCallbacks(), 1u);
    Pump();
    ASSERT_EQ(EventNames(), c.events);
    const Outcome& error = g_events[0].outcome;
    EXPECT_EQ(error.resultCode, 17u);
    EXPECT_EQ(error.operationCode, c.operationCode);
    EXPECT_EQ(error.moduleName, L"Vendra");
    EXPECT_EQ(error.message, L"Vendra is not Initialized.");
    EXPECT_FALSE(g_events[0].flag);
    EXPECT_EQ(g_events[0].count, 0u);
    for (const TextCopy& text : g_events[0].texts) {
        EXPECT_FALSE(text.isNull);
    }
    if (c.events.size() == 2) {
        const Outcome& notice = g_events[1].outcome;
        EXPECT_EQ(notice.resultCode, 33u);
        EXPECT_EQ(notice.operationCode, c.operationCode);
        EXPECT_EQ(notice.message, kNeverAttempted);
        EXPECT_EQ(notice.userContext, &g_destroyContext);
        EXPECT_EQ(error.userContext, &g_context);
    }
}

const std::vector<std::string> One(const char* name) { return {name}; }
const std::vector<std::string> Two(const char* name) { return {name, "onDestroy"}; }

INSTANTIATE_TEST_SUITE_P(
    AllRequests, NotReadyTest,
    ::testing::Values(
        NotReadyCase{"CCategories", [] { TesselAPI_FetchShopCategories(&CCategories, &g_context); }, 80, One("categories")},
        NotReadyCase{"CppCategories", [] { IAP::IAP_FetchShopCategories(&CppCategories); }, 80, One("categories")},
        NotReadyCase{"CProducts", [] { TesselAPI_FetchProducts(nullptr, &CProducts, &g_context); }, 81, One("products")},
        NotReadyCase{"CppProductsEx", [] { IAP::IAP_FetchProductsEx(nullptr, &CppProductsEx); }, 81, One("productsEx")},
        NotReadyCase{"CPurchaseEx",
                     [] { TesselAPI_StartPurchaseEx(nullptr, &CPurchase, &COnDestroy, &g_context, &g_destroyContext); },
                     82, Two("purchase")},
        NotReadyCase{"CppPurchaseEx", [] { IAP::IAP_StartPurchaseEx(nullptr, &CppPurchase, &CppOnDestroy); }, 82,
                     One("purchase")},
        NotReadyCase{"CConfirm", [] { TesselAPI_ConfirmPurchase(1, &CConfirm, &g_context); }, 83, One("confirm")},
        NotReadyCase{"CppConfirm", [] { IAP::IAP_ConfirmPurchase(1, &CppConfirm); }, 83, One("confirm")},
        NotReadyCase{"CInventory", [] { TesselAPI_FetchInventory(&CInventory, &g_context); }, 84, One("inventory")},
        NotReadyCase{"CTermsEx",
                     [] {
                         TesselAPI_FetchTermsAgreementEx(nullptr, &CTerms, &COnDestroy, &g_context, &g_destroyContext);
                     },
                     85, Two("terms")},
        NotReadyCase{"CTerms", [] { TesselAPI_FetchTermsAgreement(nullptr, &CTerms, &g_context); }, 85, One("terms")},
        NotReadyCase{"CppTermsEx", [] { IAP::IAP_FetchTermsAgreementEx(nullptr, &CppTerms, &CppOnDestroy); }, 85,
                     One("terms")},
        NotReadyCase{"CPaymentEx",
                     [] { TesselAPI_StartPaymentEx(nullptr, &CPayment, &COnDestroy, &g_context, &g_destroyContext); },
                     86, Two("payment")},
        NotReadyCase{"CppPaymentEx", [] { IAP::IAP_StartPaymentEx(nullptr, &CppPayment, &CppOnDestroy); }, 86,
                     One("payment")},
        NotReadyCase{"CVoided", [] { TesselAPI_FetchVoidedPurchases(&CVoided, &g_context); }, 87, One("voided")},
        NotReadyCase{"CppVoided", [] { IAP::IAP_FetchVoidedPurchases(&CppVoided); }, 87, One("voided")},
        NotReadyCase{"CWithdraw",
                     [] { TesselAPI_WithdrawGame(nullptr, &CWithdraw, &COnDestroy, &g_context, &g_destroyContext); },
                     89, Two("withdraw")},
        NotReadyCase{"CppWithdraw", [] { IAP::IAP_WithdrawGame(nullptr, &CppWithdraw, &CppOnDestroy); }, 89,
                     One("withdraw")}),
    [](const ::testing::TestParamInfo<NotReadyCase>& test) { return std::string(test.param.name); });

TEST_F(RequestsTest, APlatformThatIsNotInitializedAlsoGivesTheError)
{
    Initialize();
    Sandbox::Script::SetBaseInitialized(false);
    TesselAPI_StartPurchase(nullptr, &CPurchase, &g_context);
    EXPECT_TRUE(Sandbox::Script::Requests().empty());
    Pump();
    ASSERT_EQ(EventNames(), kResult);
    EXPECT_EQ(g_events[0].outcome.resultCode, 17u);
    EXPECT_EQ(g_events[0].numbers[0], 0) << "an empty purchase result";

    // The C++ callback gets a default purchase result: progress 1, not 0.
    g_events.clear();
    IAP::IAP_StartPurchase(nullptr, &CppPurchase);
    Pump();
    ASSERT_EQ(EventNames(), kResult);
    EXPECT_EQ(g_events[0].outcome.resultCode, 17u);
    EXPECT_EQ(g_events[0].numbers[1], static_cast<long long>(IAP::PurchaseProgress::NEED_PAYMENT_WINDOW));
}

// --- Closing all popups ---------------------------------------------------------------

TEST_F(RequestsTest, CloseAllPopupsAnswersDirectlyAndOnlyAsksAReadyPlatform)
{
    TesselAPIResult c = TesselAPI_IAPCloseAllPopups();
    Tessel::PCSDK::Result cpp = IAP::IAP_CloseAllPopups();
    EXPECT_EQ(c.resultCode, 17u);
    EXPECT_EQ(c.operationCode, 88u);
    EXPECT_EQ(std::wstring(c.moduleName), L"Vendra");
    EXPECT_EQ(cpp.GetResultCode(), 17u);
    EXPECT_EQ(cpp.GetOperationCode(), 88u);
    EXPECT_EQ(Sandbox::Script::CountCalls(Call::CloseAllPopups), 0u);
    EXPECT_EQ(Sandbox::Script::QueuedCallbacks(), 0u);

    Initialize();
    Sandbox::Script::SetResult(Call::CloseAllPopups, ScriptedResult{7, 21});
    c = TesselAPI_IAPCloseAllPopups();
    cpp = IAP::IAP_CloseAllPopups();
    EXPECT_EQ(c.resultCode, 21u);
    EXPECT_EQ(c.operationCode, 7u);
    EXPECT_EQ(cpp.GetResultCode(), 21u);
    EXPECT_EQ(Sandbox::Script::CountCalls(Call::CloseAllPopups), 2u);
    EXPECT_EQ(Sandbox::Script::ResultReleaseCalls().back(), 1u) << "the platform's result object is released once";

    Sandbox::Script::SetResult(Call::CloseAllPopups, std::nullopt);
    EXPECT_EQ(TesselAPI_IAPCloseAllPopups().resultCode, 0u) << "a null result object gives a default result";
}

}  // namespace
}  // namespace vendra_test
