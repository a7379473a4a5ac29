// Vendra's parameter objects: the exact (position, value) setter calls each
// builder makes on the scripted platform's objects, the defaults for null
// records and texts, the clamping of option values from the C++ interface
// only, failed creations at every level, and releases.
#include <vector>

#include "TestSupport.hpp"
#include "params.hpp"

namespace {

using namespace tessel::test;
using Sandbox::ParamValue;
using Sandbox::SetterCall;
using Calls = std::vector<SetterCall>;
namespace IAP = Tessel::PCSDK::IAP;

using ParamTest = ScriptedTest;

const std::vector<Sandbox::ParamRecord>& Params() { return Sandbox::Script::Params(); }

std::vector<int32_t> TypeIds()
{
    std::vector<int32_t> ids;
    for (const auto& record : Params()) {
        ids.push_back(record.typeId);
    }
    return ids;
}

// The setter calls of a purchase option (2502) or terms option (2504).
Calls WebviewOptionCalls(int32_t operation, int32_t mode, int32_t x, int32_t y, int32_t width, int32_t height)
{
    return {{15, operation}, {5, mode}, {7, x}, {9, y}, {11, width}, {13, height}};
}

Calls PaymentOptionCalls(int32_t operation, int32_t mode, int32_t x, int32_t y, int32_t width, int32_t height)
{
    return {{5, operation}, {7, mode}, {9, x}, {11, y}, {13, width}, {15, height}};
}

// --- Product page (2500) ----------------------------------------------------------

TEST_F(ParamTest, ProductPageFromNullRecordsAndNullTexts)
{
    {
        auto param = vendra::BuildProductPageParam(
            vendra::ReadFetchProductParam(static_cast<const TesselFetchProductParam*>(nullptr)));
        ASSERT_NE(param, nullptr);
    }
    EXPECT_EQ(OnlyParam(Base::kProductPageParam).calls,
              (Calls{{5, std::wstring()}, {7, int32_t{1}}, {9, int32_t{20}}}));
    EXPECT_EQ(OnlyParam(Base::kProductPageParam).releaseCalls, 1u);

    Sandbox::Script::End();
    Sandbox::Script::Begin();
    const TesselFetchProductParam record{nullptr, -3, 0};
    vendra::BuildProductPageParam(vendra::ReadFetchProductParam(&record));
    EXPECT_EQ(OnlyParam(Base::kProductPageParam).calls,
              (Calls{{5, std::wstring()}, {7, int32_t{-3}}, {9, int32_t{0}}}))
        << "values are not range-checked";

    Sandbox::Script::End();
    Sandbox::Script::Begin();
    IAP::TesselPCFetchProductParam object;
    object.SetCategoryId(nullptr);
    object.SetPageSize(50);
    vendra::BuildProductPageParam(vendra::ReadFetchProductParam(&object));
    EXPECT_EQ(OnlyParam(Base::kProductPageParam).calls,
              (Calls{{5, std::wstring()}, {7, int32_t{1}}, {9, int32_t{50}}}));
}

TEST_F(ParamTest, ProductPageCarriesTheCategory)
{
    IAP::TesselPCFetchProductParam object;
    object.SetCategoryId(L"cat-3");
    object.SetPageNumber(2);
    vendra::BuildProductPageParam(vendra::ReadFetchProductParam(&object));
    EXPECT_EQ(OnlyParam(Base::kProductPageParam).calls,
              (Calls{{5, std::wstring(L"cat-3")}, {7, int32_t{2}}, {9, int32_t{20}}}));
}

// --- Start purchase (2503 with 2501 and 2502) ---------------------------------------------

TEST_F(ParamTest, StartPurchaseWithThreeOrderProducts)
{
    const TesselOrderProduct products[3] = {{101, 1.5, 1}, {102, 2.5, 2}, {103, 3.5, 3}};
    TesselStartPurchaseParam record{};
    record.orderProducts = products;
    record.orderProductCount = 3;
    record.purchaseOption = {0, 2, 1, 10, 20, 300, 400};
    record.serviceTxnNo = L"txn-1";
    record.extraData = nullptr;

    {
        tessel::rt::ParamList list = vendra::BuildStartPurchaseParam(vendra::ReadStartPurchaseParam(&record));
        ASSERT_EQ(list.size(), 5u);
        ASSERT_EQ(TypeIds(), (std::vector<int32_t>{2503, 2501, 2501, 2501, 2502}));
        EXPECT_EQ(list.get(), Params()[0].object) << "the start purchase object comes first";
        for (const auto& param : Params()) {
            EXPECT_EQ(param.releaseCalls, 0u) << "nothing released before the request is sent";
        }
    }

    const auto& params = Params();
    const std::vector<const Base::IParam*> orderObjects = {params[1].object, params[2].object, params[3].object};
    EXPECT_EQ(params[0].calls, (Calls{{6, orderObjects},
                                      {8, params[4].object},
                                      {10, std::wstring(L"txn-1")},
                                      {12, std::wstring()}}));
    for (std::size_t i = 0; i < 3; ++i) {
        const auto n = static_cast<int>(i);
        EXPECT_EQ(params[1 + i].calls, (Calls{{5, int64_t{101 + n}}, {7, 1.5 + n}, {9, int32_t{1 + n}}}));
    }
    EXPECT_EQ(params[4].calls, WebviewOptionCalls(2, 1, 10, 20, 300, 400)) << "the C interface does not clamp";
    for (const auto& param : params) {
        EXPECT_EQ(param.releaseCalls, 1u) << param.typeId;
    }
}

TEST_F(ParamTest, StartPurchaseWithoutOrderProductsNeverSetsTheList)
{
    TesselStartPurchaseParam record{};
    record.orderProducts = nullptr;
    record.orderProductCount = 4;  // no array: no products
    record.purchaseOption = {0, 1, 0, 0, 0, 420, 700};
    vendra::BuildStartPurchaseParam(vendra::ReadStartPurchaseParam(&record));

    ASSERT_EQ(TypeIds(), (std::vector<int32_t>{2503, 2502}));
    EXPECT_EQ(Positions(Params()[0]), (std::vector<int>{8, 10, 12}));

    // A null record: no products, the default option and empty texts.
    Sandbox::Script::End();
    Sandbox::Script::Begin();
    vendra::BuildStartPurchaseParam(vendra::ReadStartPurchaseParam(static_cast<const TesselStartPurchaseParam*>(nullptr)));
    ASSERT_EQ(TypeIds(), (std::vector<int32_t>{2503, 2502}));
    EXPECT_EQ(Params()[0].calls, (Calls{{8, Params()[1].object}, {10, std::wstring()}, {12, std::wstring()}}));
    EXPECT_EQ(Params()[1].calls, WebviewOptionCalls(0, 0, 0, 0, 420, 700));

    Sandbox::Script::End();
    Sandbox::Script::Begin();
    vendra::BuildStartPurchaseParam(
        vendra::ReadStartPurchaseParam(static_cast<const IAP::TesselPCStartPurchaseParam*>(nullptr)));
    EXPECT_EQ(Params()[1].calls, WebviewOptionCalls(0, 0, 0, 0, 420, 700));
}

TEST_F(ParamTest, StartPurchaseFromThePublicObjectClampsItsOption)
{
    IAP::TesselPCStartPurchaseParam object;
    object.CreateOrderProduct(1);
    IAP::TesselPCOrderProduct product;
    product.SetProductId(7);
    product.SetSalePrice(0.5);
    product.SetQuantity(9);
    object.SetOrderProduct(0, &product);
    IAP::TesselPCPurchaseOption option;
    option.SetOperation(static_cast<IAP::TesselPCPurchaseOperation>(3));
    option.SetWebviewMode(static_cast<IAP::WebViewMode>(-1));
    option.SetWebviewRect(-5, 6, 7, 8);
    object.SetPurchaseOption(option);
    object.SetServiceTxnNo(nullptr);
    object.SetExtraData(L"x");

    vendra::BuildStartPurchaseParam(vendra::ReadStartPurchaseParam(&object));
    ASSERT_EQ(TypeIds(), (std::vector<int32_t>{2503, 2501, 2502}));
    EXPECT_EQ(Params()[1].calls, (Calls{{5, int64_t{7}}, {7, 0.5}, {9, int32_t{9}}}));
    EXPECT_EQ(Params()[2].calls, WebviewOptionCalls(0, 0, -5, 6, 7, 8)) << "3 and -1 are out of range";
    EXPECT_EQ(Params()[0].calls, (Calls{{6, std::vector<const Base::IParam*>{Params()[1].object}},
                                        {8, Params()[2].object},
                                        {10, std::wstring()},
                                        {12, std::wstring(L"x")}}));

    Sandbox::Script::End();
    Sandbox::Script::Begin();
    option.SetOperation(IAP::TesselPCPurchaseOperation::OPERATION_2);
    option.SetWebviewMode(IAP::WebViewMode::WINDOWED);
    object.SetPurchaseOption(option);
    vendra::BuildStartPurchaseParam(vendra::ReadStartPurchaseParam(&object));
    EXPECT_EQ(Params()[2].calls, WebviewOptionCalls(2, 1, -5, 6, 7, 8)) << "in-range values are kept";
}

TEST_F(ParamTest, StartPurchaseFailedCreations)
{
    const TesselOrderProduct products[2] = {{1, 1.0, 1}, {2, 2.0, 2}};
    TesselStartPurchaseParam record{};
    record.orderProducts = products;
    record.orderProductCount = 2;

    // The start purchase object itself: nothing else is created.
    Sandbox::Script::FailParamCreation(Base::kStartPurchaseParam);
    {
        auto list = vendra::BuildStartPurchaseParam(vendra::ReadStartPurchaseParam(&record));
        EXPECT_EQ(list.get(), nullptr);
        EXPECT_EQ(list.size(), 0u);
    }
    EXPECT_TRUE(Params().empty());

    // The order products: left out; the option and texts still go.
    Sandbox::Script::End();
    Sandbox::Script::Begin();
    Sandbox::Script::FailParamCreation(Base::kOrderProductParam);
    EXPECT_EQ(vendra::BuildStartPurchaseParam(vendra::ReadStartPurchaseParam(&record)).size(), 2u);
    ASSERT_EQ(TypeIds(), (std::vector<int32_t>{2503, 2502}));
    EXPECT_EQ(Positions(Params()[0]), (std::vector<int>{8, 10, 12}));

    // The purchase option: the start purchase object gets none.
    Sandbox::Script::End();
    Sandbox::Script::Begin();
    Sandbox::Script::FailParamCreation(Base::kPurchaseOptionParam);
    EXPECT_EQ(vendra::BuildStartPurchaseParam(vendra::ReadStartPurchaseParam(&record)).size(), 3u);
    ASSERT_EQ(TypeIds(), (std::vector<int32_t>{2503, 2501, 2501}));
    EXPECT_EQ(Positions(Params()[0]), (std::vector<int>{6, 10, 12}));
    for (const auto& param : Params()) {
        EXPECT_EQ(param.releaseCalls, 1u);
    }
}

// --- Options (2504, 2505, 2506) and confirmation (2507) ------------------------------------

TEST_F(ParamTest, OptionsFromNullRecords)
{
    vendra::BuildPaymentOption(vendra::ReadPaymentOption(static_cast<const TesselPaymentOption*>(nullptr)));
    vendra::BuildTermsOption(vendra::ReadTermsOption(static_cast<const IAP::TesselPCTermsOption*>(nullptr)));
    vendra::BuildWithdrawOption(
        vendra::ReadWithdrawOption(static_cast<const TesselWithdrawGameOptionParams*>(nullptr)));
    EXPECT_EQ(OnlyParam(Base::kPaymentOptionParam).calls, PaymentOptionCalls(0, 0, 0, 0, 420, 700));
    EXPECT_EQ(OnlyParam(Base::kTermsOptionParam).calls, WebviewOptionCalls(0, 0, 0, 0, 800, 600));
    EXPECT_EQ(OnlyParam(Base::kWithdrawOptionParam).calls,
              (Calls{{5, int32_t{0}}, {7, int32_t{0}}, {9, int32_t{0}}, {11, int32_t{0}}, {13, int32_t{0}}}));

    Sandbox::Script::End();
    Sandbox::Script::Begin();
    vendra::BuildPaymentOption(vendra::ReadPaymentOption(static_cast<const IAP::TesselPCPaymentOption*>(nullptr)));
    vendra::BuildTermsOption(vendra::ReadTermsOption(static_cast<const TesselTermsOption*>(nullptr)));
    EXPECT_EQ(OnlyParam(Base::kPaymentOptionParam).calls, PaymentOptionCalls(0, 0, 0, 0, 420, 700));
    EXPECT_EQ(OnlyParam(Base::kTermsOptionParam).calls, WebviewOptionCalls(0, 0, 0, 0, 800, 600));
}

TEST_F(ParamTest, OptionValuesAreClampedFromCppOnly)
{
    const TesselTermsOption cTerms{0, 7, 5, 1, 2, 3, 4};
    const TesselPaymentOption cPayment{0, 2, 3, 1, 2, 3, 4};
    const TesselWithdrawGameOptionParams cWithdraw{2, 1, 2, 3, 4};
    vendra::BuildTermsOption(vendra::ReadTermsOption(&cTerms));
    vendra::BuildPaymentOption(vendra::ReadPaymentOption(&cPayment));
    vendra::BuildWithdrawOption(vendra::ReadWithdrawOption(&cWithdraw));
    EXPECT_EQ(OnlyParam(Base::kTermsOptionParam).calls, WebviewOptionCalls(7, 5, 1, 2, 3, 4));
    EXPECT_EQ(OnlyParam(Base::kPaymentOptionParam).calls, PaymentOptionCalls(2, 3, 1, 2, 3, 4));
    EXPECT_EQ(OnlyParam(Base::kWithdrawOptionParam).calls,
              (Calls{{5, int32_t{2}}, {7, int32_t{1}}, {9, int32_t{2}}, {11, int32_t{3}}, {13, int32_t{4}}}));

    Sandbox::Script::End();
    Sandbox::Script::Begin();
    IAP::TesselPCTermsOption terms;
    terms.SetOperation(static_cast<IAP::TesselPCTermsOperation>(2));
    terms.SetWebviewMode(static_cast<IAP::WebViewMode>(5));
    terms.SetWebviewRect(1, 2, 3, 4);
    IAP::TesselPCPaymentOption payment;
    payment.SetOperation(IAP::TesselPCPaymentOperation::OPERATION_1);
    payment.SetWebviewMode(static_cast<IAP::WebViewMode>(-2));
    IAP::TesselPCWithdrawGameOption withdraw;
    withdraw.SetWebviewMode(static_cast<IAP::WebViewMode>(2));
    withdraw.SetWebviewRect(-1, -2, 0, 0);
    vendra::BuildTermsOption(vendra::ReadTermsOption(&terms));
    vendra::BuildPaymentOption(vendra::ReadPaymentOption(&payment));
    vendra::BuildWithdrawOption(vendra::ReadWithdrawOption(&withdraw));
    EXPECT_EQ(OnlyParam(Base::kTermsOptionParam).calls, WebviewOptionCalls(0, 0, 1, 2, 3, 4));
    EXPECT_EQ(OnlyParam(Base::kPaymentOptionParam).calls, PaymentOptionCalls(1, 0, 0, 0, 420, 700));
    EXPECT_EQ(OnlyParam(Base::kWithdrawOptionParam).calls,
              (Calls{{5, int32_t{0}}, {7, int32_t{-1}}, {9, int32_t{-2}}, {11, int32_t{0}}, {13, int32_t{0}}}));
}

TEST_F(ParamTest, ConfirmPurchaseCarriesTheMasterNumber)
{
    {
        auto param = vendra::BuildConfirmPurchaseParam(-9000000000LL);
        ASSERT_NE(param, nullptr);
    }
    EXPECT_EQ(OnlyParam(Base::kConfirmPurchaseParam).calls, (Calls{{5, int64_t{-9000000000LL}}}));
    EXPECT_EQ(OnlyParam(Base::kConfirmPurchaseParam).releaseCalls, 1u);
}

TEST_F(ParamTest, FailedCreationsOfSingleObjectsGiveNull)
{
    for (Base::ParamTypeId type : {Base::kProductPageParam, Base::kTermsOptionParam, Base::kPaymentOptionParam,
                                   Base::kWithdrawOptionParam, Base::kConfirmPurchaseParam}) {
        Sandbox::Script::FailParamCreation(type);
    }
    EXPECT_EQ(vendra::BuildProductPageParam({}), nullptr);
    EXPECT_EQ(vendra::BuildTermsOption({}), nullptr);
    EXPECT_EQ(vendra::BuildPaymentOption({}), nullptr);
    EXPECT_EQ(vendra::BuildWithdrawOption({}), nullptr);
    EXPECT_EQ(vendra::BuildConfirmPurchaseParam(1), nullptr);
    EXPECT_TRUE(Params().empty());
}

}  // namespace
