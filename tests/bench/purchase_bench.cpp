// A purchase result with 1,000 purchased products, 1,000 charge infos and
// 1,000 transaction detail numbers, completed in C and C++, and the start
// purchase request itself. Baselines as in products_bench.cpp: rec (C,
// through the intermediate records), direct (C, straight from the getters),
// least (C++, the public class built from its intermediate record).
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "VendraBench.hpp"

namespace {

using namespace tessel::bench;

constexpr uint32_t kOperation = TESSEL_VENDRA_OP_START_PURCHASE;
constexpr uint32_t kItems = 1000;

struct Purchase {
    Purchase()
    {
        data.transactionMasterNumber = 7000001;
        data.oneTimePaymentUrl = L"https://pay.shop.example/once/7000001?token=5f2c9a71d4e8b3a0";
        data.purchaseProgress = 2;
        data.isPurchased = 1;
        data.extraData = L"{\"campaign\":\"winter_sale\",\"source\":\"shop_front\"}";
        data.transactionDetailNumbers.emplace();
        for (uint32_t i = 0; i < kItems; ++i) {
            data.transactionDetailNumbers->push_back(8000000 + i);
            auto product = std::make_unique<Sandbox::PurchasedProductItem>();
            product->transactionDetailNumber = 8000000 + i;
            product->productId = 100000 + i;
            product->categoryId = L"weapons_" + std::to_wstring(i % 7);
            product->totalQuantity = 1;
            product->memberQuantity = 1;
            data.purchasedProducts.items.push_back(product.get());
            products.push_back(std::move(product));
            auto info = std::make_unique<Sandbox::ChargeInfoItem>();
            info->chargeDeductVal = 7.99;
            info->chargeDisplayDeductVal = 7.99;
            info->chargeType = 1;
            info->chargeTypeName = L"Wallet balance (gift card)";
            data.chargeInfos.items.push_back(info.get());
            infos.push_back(std::move(info));
        }
    }
    std::vector<std::unique_ptr<Sandbox::PurchasedProductItem>> products;
    std::vector<std::unique_ptr<Sandbox::ChargeInfoItem>> infos;
    Sandbox::PurchaseResultData data;
};

long long g_sink = 0;

void OnPurchaseC(const TesselAPICallbackResult*, const TesselPurchaseResult* purchase)
{
    g_sink += purchase->purchasedProductCount + purchase->chargeInfoCount;
}

void OnPurchaseCpp(CallbackResult, IAP::TesselPCPurchaseResult purchase)
{
    g_sink += purchase.GetPurchasedProductCount() + purchase.GetChargeInfoCount();
}

// --- Baselines ---------------------------------------------------------------------

std::wstring TextOf(const wchar_t* text) { return text != nullptr ? std::wstring(text) : std::wstring(); }

IAP::TesselPCPurchaseResultCpp ReadRecord(const Base::IPurchaseResultData& d)
{
    IAP::TesselPCPurchaseResultCpp r;
    r.transactionMasterNumber = d.GetTransactionMasterNumber();
    if (d.GetTransactionDetailNumbers() != nullptr && d.GetTransactionDetailNumberCount() != 0) {
        r.transactionDetailNumbers.assign(d.GetTransactionDetailNumbers(),
                                          d.GetTransactionDetailNumbers() + d.GetTransactionDetailNumberCount());
    }
    r.oneTimePaymentUrl = d.GetOneTimePaymentUrl() != nullptr ? TextOf(d.GetOneTimePaymentUrl()) : std::wstring();
    r.purchaseProgress = static_cast<IAP::PurchaseProgress>(d.GetPurchaseProgress());
    r.isPurchased = d.IsPurchased() != 0;
    r.extraData = d.GetExtraData() != nullptr ? TextOf(d.GetExtraData()) : std::wstring();
    const uint32_t products = d.GetPurchasedProductCount();
    r.purchasedProducts.reserve(products);
    for (uint32_t i = 0; i < products; ++i) {
        const Base::IPurchasedProductItem& p = *d.GetPurchasedProduct(i);
        IAP::TesselPCPurchasedProductCpp item;
        item.transactionDetailNumber = p.GetTransactionDetailNumber();
        item.productId = p.GetProductId();
        item.categoryId = p.GetCategoryId() != nullptr ? TextOf(p.GetCategoryId()) : std::wstring();
        item.totalQuantity = p.GetTotalQuantity();
        item.memberQuantity = p.GetMemberQuantity();
        item.guidQuantity = p.GetGuidQuantity();
        r.purchasedProducts.push_back(std::move(item));
    }
    const uint32_t infos = d.GetChargeInfoCount();
    r.chargeInfos.reserve(infos);
    for (uint32_t i = 0; i < infos; ++i) {
        const Base::IChargeInfoItem& c = *d.GetChargeInfo(i);
        IAP::TesselPCChargeInfoCpp item;
        item.chargeDeductVal = c.GetChargeDeductVal();
        item.chargeDisplayDeductVal = c.GetChargeDisplayDeductVal();
        item.chargeType = c.GetChargeType();
        item.chargeTypeName = c.GetChargeTypeName() != nullptr ? TextOf(c.GetChargeTypeName()) : std::wstring();
        r.chargeInfos.push_back(std::move(item));
    }
    return r;
}

template <class T>
T* ZeroArray(uint32_t count)
{
    return count != 0 ? static_cast<T*>(std::calloc(count, sizeof(T))) : nullptr;
}

TesselPurchaseResult FromRecord(const IAP::TesselPCPurchaseResultCpp& r)
{
    TesselPurchaseResult c{};
    c.transactionMasterNumber = r.transactionMasterNumber;
    c.transactionDetailNumberCount = static_cast<uint32_t>(r.transactionDetailNumbers.size());
    c.transactionDetailNumbers = ZeroArray<long long>(c.transactionDetailNumberCount);
    std::copy(r.transactionDetailNumbers.begin(), r.transactionDetailNumbers.end(), c.transactionDetailNumbers);
    c.oneTimePaymentUrl = Duplicate(r.oneTimePaymentUrl.c_str());
    c.purchaseProgress = static_cast<int32_t>(r.purchaseProgress);
    c.isPurchased = r.isPurchased;
    c.extraData = Duplicate(r.extraData.c_str());
    c.purchasedProductCount = static_cast<uint32_t>(r.purchasedProducts.size());
    c.purchasedProducts = ZeroArray<TesselPurchasedProduct>(c.purchasedProductCount);
    for (uint32_t i = 0; i < c.purchasedProductCount; ++i) {
        const IAP::TesselPCPurchasedProductCpp& p = r.purchasedProducts[i];
        TesselPurchasedProduct& e = c.purchasedProducts[i];
        e.transactionDetailNumber = p.transactionDetailNumber;
        e.productId = p.productId;
        e.categoryId = Duplicate(p.categoryId.c_str());
        e.totalQuantity = p.totalQuantity;
        e.memberQuantity = p.memberQuantity;
        e.guidQuantity = p.guidQuantity;
    }
    c.chargeInfoCount = static_cast<uint32_t>(r.chargeInfos.size());
    c.chargeInfos = ZeroArray<TesselChargeInfo>(c.chargeInfoCount);
    for (uint32_t i = 0; i < c.chargeInfoCount; ++i) {
        const IAP::TesselPCChargeInfoCpp& info = r.chargeInfos[i];
        TesselChargeInfo& e = c.chargeInfos[i];
        e.chargeDeductVal = info.chargeDeductVal;
        e.chargeDisplayDeductVal = info.chargeDisplayDeductVal;
        e.chargeType = info.chargeType;
        e.chargeTypeName = Duplicate(info.chargeTypeName.c_str());
    }
    return c;
}

TesselPurchaseResult Direct(const Base::IPurchaseResultData& d)
{
    TesselPurchaseResult c{};
    c.transactionMasterNumber = d.GetTransactionMasterNumber();
    const int64_t* numbers = d.GetTransactionDetailNumbers();
    c.transactionDetailNumberCount = numbers != nullptr ? d.GetTransactionDetailNumberCount() : 0;
    c.transactionDetailNumbers = ZeroArray<long long>(c.transactionDetailNumberCount);
    std::copy(numbers, numbers + c.transactionDetailNumberCount, c.transactionDetailNumbers);
    c.oneTimePaymentUrl = Duplicate(d.GetOneTimePaymentUrl());
    c.purchaseProgress = d.GetPurchaseProgress();
    c.isPurchased = d.IsPurchased() != 0;
    c.extraData = Duplicate(d.GetExtraData());
    c.purchasedProductCount = d.GetPurchasedProductCount();
    c.purchasedProducts = ZeroArray<TesselPurchasedProduct>(c.purchasedProductCount);
    for (uint32_t i = 0; i < c.purchasedProductCount; ++i) {
        const Base::IPurchasedProductItem& p = *d.GetPurchasedProduct(i);
        TesselPurchasedProduct& e = c.purchasedProducts[i];
        e.transactionDetailNumber = p.GetTransactionDetailNumber();
        e.productId = p.GetProductId();
        e.categoryId = Duplicate(p.GetCategoryId());
        e.totalQuantity = p.GetTotalQuantity();
        e.memberQuantity = p.GetMemberQuantity();
        e.guidQuantity = p.GetGuidQuantity();
    }
    c.chargeInfoCount = d.GetChargeInfoCount();
    c.chargeInfos = ZeroArray<TesselChargeInfo>(c.chargeInfoCount);
    for (uint32_t i = 0; i < c.chargeInfoCount; ++i) {
        const Base::IChargeInfoItem& info = *d.GetChargeInfo(i);
        TesselChargeInfo& e = c.chargeInfos[i];
        e.chargeDeductVal = info.GetChargeDeductVal();
        e.chargeDisplayDeductVal = info.GetChargeDisplayDeductVal();
        e.chargeType = info.GetChargeType();
        e.chargeTypeName = Duplicate(info.GetChargeTypeName());
    }
    return c;
}

void FreeAll(TesselPurchaseResult& c)
{
    std::free(c.transactionDetailNumbers);
    FreeText(c.oneTimePaymentUrl);
    FreeText(c.extraData);
    for (uint32_t i = 0; i < c.purchasedProductCount; ++i) {
        FreeText(c.purchasedProducts[i].categoryId);
    }
    std::free(c.purchasedProducts);
    for (uint32_t i = 0; i < c.chargeInfoCount; ++i) {
        FreeText(c.chargeInfos[i].chargeTypeName);
    }
    std::free(c.chargeInfos);
}

void BaselineC(const Purchase& purchase, bool withRecord)
{
    Sandbox::CallbackResultObject object(nullptr, kOperation, 0);
    TesselAPICallbackResult outcome = OutcomeC(object, nullptr);
    TesselPurchaseResult c = withRecord ? FromRecord(ReadRecord(purchase.data)) : Direct(purchase.data);
    OnPurchaseC(&outcome, &c);
    FreeAll(c);
    Base::BaseStructUtils::FreeCStruct(&outcome);
}

void BaselineCpp(const Purchase& purchase)
{
    Sandbox::CallbackResultObject object(nullptr, kOperation, 0);
    const CallbackResultCpp outcome = Outcome(object);
    const IAP::TesselPCPurchaseResultCpp record = ReadRecord(purchase.data);
    OnPurchaseCpp(CallbackResult(&outcome), IAP::TesselPCPurchaseResult(&record));
}

// --- Completions -------------------------------------------------------------------

const TesselOrderProduct kOrder[] = {{100001, 7.99, 1}, {100002, 4.99, 2}, {100003, 19.99, 1}};

TesselStartPurchaseParam OrderC()
{
    TesselStartPurchaseParam param{};
    param.orderProducts = kOrder;
    param.orderProductCount = 3;
    param.purchaseOption.width = 420;
    param.purchaseOption.height = 700;
    param.serviceTxnNo = L"svc-2026-12-09-000042";
    param.extraData = L"{\"campaign\":\"winter_sale\"}";
    return param;
}

template <class Issue>
Tally RunPurchase(benchmark::State& state, const Purchase& purchase, Issue&& issue)
{
    return RunCompletions(state, 8, issue, [&purchase](const Sandbox::RequestRecord& request) {
        Sandbox::CallbackResultObject result(request.context, kOperation, 0);
        request.As<Base::Trampoline>()(&result, const_cast<Sandbox::PurchaseResultData*>(&purchase.data));
    });
}

void PurchaseResult_C(benchmark::State& state)
{
    VendraSession session;
    const Purchase purchase;
    const TesselStartPurchaseParam param = OrderC();
    const Tally module = RunPurchase(state, purchase, [&param] { TesselAPI_StartPurchase(&param, &OnPurchaseC, nullptr); });
    const Tally withRecord = RunBaseline(module.operations, [&purchase] { BaselineC(purchase, true); });
    const Tally direct = RunBaseline(module.operations, [&purchase] { BaselineC(purchase, false); });
    Report(state, module, {{"rec", withRecord}, {"direct", direct}});
}
BENCHMARK(PurchaseResult_C);

void PurchaseResult_Cpp(benchmark::State& state)
{
    VendraSession session;
    const Purchase purchase;
    IAP::TesselPCStartPurchaseParam param;
    const Tally module =
        RunPurchase(state, purchase, [&param] { IAP::IAP_StartPurchase(&param, &OnPurchaseCpp); });
    const Tally least = RunBaseline(module.operations, [&purchase] { BaselineCpp(purchase); });
    Report(state, module, {{"least", least}});
}
BENCHMARK(PurchaseResult_Cpp);

// --- The request ------------------------------------------------------------------

// The parameter objects of an order (up to 8 products), the context the
// platform hands back, the platform call, the releases.
void SendOrder(const TesselOrderProduct* orderProducts, uint32_t orderCount, const TesselPurchaseOption& shown,
               const wchar_t* serviceTxnNo, const wchar_t* extraData, void* context)
{
    auto* purchase = static_cast<Base::IStartPurchaseParam*>(Tessel_CreateParam(Base::kStartPurchaseParam));
    if (purchase == nullptr) {
        std::free(context);
        return;
    }
    Base::IParam* products[8] = {};
    const uint32_t count = orderCount < 8 ? orderCount : 8;
    for (uint32_t i = 0; i < count; ++i) {
        auto* product = static_cast<Base::IOrderProductParam*>(Tessel_CreateParam(Base::kOrderProductParam));
        product->SetProductId(orderProducts[i].productId);
        product->SetSalePrice(orderProducts[i].salePrice);
        product->SetQuantity(orderProducts[i].quantity);
        products[i] = product;
    }
    purchase->SetOrderProducts(products, count);
    auto* option = static_cast<Base::IWebviewOptionParam*>(Tessel_CreateParam(Base::kPurchaseOptionParam));
    option->SetOperation(shown.operation);
    option->SetWebviewMode(shown.webviewMode);
    option->SetX(shown.x);
    option->SetY(shown.y);
    option->SetWidth(shown.width);
    option->SetHeight(shown.height);
    purchase->SetPurchaseOption(option);
    purchase->SetServiceTxnNo(serviceTxnNo);
    purchase->SetExtraData(extraData);
    Tessel_StartPurchase(purchase, &FreeBaselineContext, nullptr, context, nullptr);
    for (uint32_t i = 0; i < count; ++i) {
        products[i]->Release();
    }
    option->Release();
    purchase->Release();
}

// The C caller's record, through the intermediate record when withRecord.
void BaselineRequest(const TesselStartPurchaseParam& order, bool withRecord)
{
    if (!Tessel_Internal_BaseInitialized()) {
        return;
    }
    void* context = NewBaselineContext<TesselPurchaseCallback>(&OnPurchaseC, nullptr);
    if (!withRecord) {
        SendOrder(order.orderProducts, order.orderProductCount, order.purchaseOption, order.serviceTxnNo,
                  order.extraData, context);
        return;
    }
    IAP::TesselPCStartPurchaseParamCpp record;
    record.orderProducts.reserve(order.orderProductCount);
    for (uint32_t i = 0; i < order.orderProductCount; ++i) {
        record.orderProducts.push_back(
            {order.orderProducts[i].productId, order.orderProducts[i].salePrice, order.orderProducts[i].quantity});
    }
    record.serviceTxnNo = TextOf(order.serviceTxnNo);
    record.extraData = TextOf(order.extraData);
    SendOrder(order.orderProducts, order.orderProductCount, order.purchaseOption, record.serviceTxnNo.c_str(),
              record.extraData.c_str(), context);
}

// The least the public C++ class allows: its getters read straight into the
// parameter objects (its texts live through the call).
void BaselineRequestCpp(IAP::TesselPCStartPurchaseParam& order)
{
    if (!Tessel_Internal_BaseInitialized()) {
        return;
    }
    TesselOrderProduct products[8] = {};
    const uint32_t count = order.GetOrderProductCount() < 8 ? order.GetOrderProductCount() : 8;
    for (uint32_t i = 0; i < count; ++i) {
        const IAP::TesselPCOrderProduct* product = order.GetOrderProduct(static_cast<int>(i));
        products[i] = {product->GetProductId(), product->GetSalePrice(), product->GetQuantity()};
    }
    IAP::TesselPCPurchaseOption option = order.GetPurchaseOption();
    TesselPurchaseOption shown{};
    shown.operation = static_cast<int32_t>(option.GetOperation());
    shown.webviewMode = static_cast<int32_t>(option.GetWebviewMode());
    option.GetWebviewRect(&shown.x, &shown.y, &shown.width, &shown.height);
    const wchar_t* serviceTxnNo = order.GetServiceTxnNo();
    const wchar_t* extraData = order.GetExtraData();
    auto callback = &OnPurchaseCpp;
    SendOrder(products, count, shown, serviceTxnNo != nullptr ? serviceTxnNo : L"",
              extraData != nullptr ? extraData : L"", NewBaselineContext<decltype(callback)>(callback, nullptr));
}

// Frees a start-purchase context: the result trampoline with a popup that
// was not created.
void CompletePurchaseEmpty(const Sandbox::RequestRecord& request)
{
    Sandbox::PurchaseResultData data;
    data.popupCreated = false;
    Sandbox::CallbackResultObject result(request.context, kOperation, 0);
    request.As<Base::Trampoline>()(&result, &data);
}

void StartPurchaseRequest_C(benchmark::State& state)
{
    VendraSession session;
    const TesselStartPurchaseParam param = OrderC();
    constexpr uint64_t kBatch = 2048;
    const Tally module = RunRequests(
        state, kBatch, [&param] { TesselAPI_StartPurchase(&param, &OnPurchaseC, nullptr); }, &CompletePurchaseEmpty);
    const Tally withRecord = RunBaselineRequests(
        module.operations, kBatch, [&param] { BaselineRequest(param, true); }, &CompletePurchaseEmpty);
    const Tally direct = RunBaselineRequests(
        module.operations, kBatch, [&param] { BaselineRequest(param, false); }, &CompletePurchaseEmpty);
    Report(state, module, {{"rec", withRecord}, {"direct", direct}});
}
BENCHMARK(StartPurchaseRequest_C);

void StartPurchaseRequest_Cpp(benchmark::State& state)
{
    VendraSession session;
    const TesselStartPurchaseParam c = OrderC();
    IAP::TesselPCStartPurchaseParam param;
    param.CreateOrderProduct(c.orderProductCount);
    for (uint32_t i = 0; i < c.orderProductCount; ++i) {
        IAP::TesselPCOrderProduct product;
        product.SetProductId(c.orderProducts[i].productId);
        product.SetSalePrice(c.orderProducts[i].salePrice);
        product.SetQuantity(c.orderProducts[i].quantity);
        param.SetOrderProduct(static_cast<int>(i), &product);
    }
    IAP::TesselPCPurchaseOption option;
    option.SetWebviewRect(0, 0, 420, 700);
    param.SetPurchaseOption(option);
    param.SetServiceTxnNo(c.serviceTxnNo);
    param.SetExtraData(c.extraData);
    constexpr uint64_t kBatch = 2048;
    const Tally module = RunRequests(
        state, kBatch, [&param] { IAP::IAP_StartPurchase(&param, &OnPurchaseCpp); }, &CompletePurchaseEmpty);
    const Tally least = RunBaselineRequests(
        module.operations, kBatch, [&param] { BaselineRequestCpp(param); }, &CompletePurchaseEmpty);
    Report(state, module, {{"least", least}});
}
BENCHMARK(StartPurchaseRequest_Cpp);

}  // namespace
