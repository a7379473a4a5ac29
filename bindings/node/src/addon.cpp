// The Node-API addon: every C entry point of the four modules and the
// platform's initialize, pump, uninitialize and result-code names. Each
// request reads all its arguments first (a TypeError sends nothing), files
// its settle functions in the table (requests.hpp), then makes the C call
// with the ids as contexts. The trampolines below turn what the C callbacks
// receive into JavaScript values and hand them to Finish().
#include <cstring>

#include "args.hpp"
#include "guard.hpp"
#include "requests.hpp"
#include "tessel/ludex/Ludex.h"
#include "tessel/panora/Panora.h"
#include "tessel/scrivo/Scrivo.h"
#include "tessel/vendra/Vendra.h"
#include "texts.hpp"

namespace tessel_node {
namespace {

const wchar_t kVendra[] = L"Vendra";
const wchar_t kPanora[] = L"Panora";
const wchar_t kScrivo[] = L"Scrivo";
const wchar_t kLudex[] = L"Ludex";

// --- Arguments -------------------------------------------------------------------

Napi::Value Get(const Napi::Object& object, const char* name)
{
    return object.IsEmpty() ? Napi::Value() : object.Get(name);
}

// The settle functions of a request, checked before anything is filed.
void CheckSettles(const Napi::CallbackInfo& info, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (!info[i].IsFunction()) throw Napi::TypeError::New(info.Env(), "callback must be a function");
    }
}

TesselWebViewMode ReadMode(const Napi::Value& value)
{
    uint32_t mode = static_cast<uint32_t>(ReadWhole(value, "webviewMode", 0, 1));
    return mode == 1 ? TESSEL_WEBVIEW_MODE_WINDOWED : TESSEL_WEBVIEW_MODE_EMBEDDED;
}

// The window rectangle every popup option shares.
template <class Option>
void ReadRect(const Napi::Object& object, Option& option)
{
    option.webviewMode = ReadMode(Get(object, "webviewMode"));
    option.x = ReadInt32(Get(object, "x"), "x");
    option.y = ReadInt32(Get(object, "y"), "y");
    option.width = ReadInt32(Get(object, "width"), "width");
    option.height = ReadInt32(Get(object, "height"), "height");
}

// A payment, terms or purchase window option (null: the C call gets null).
template <class Option>
struct WindowOption {
    Option option{};
    bool present = false;
    WindowOption(const Napi::Value& value, const char* what)
    {
        Napi::Object object = ReadObject(value, what, true);
        present = !object.IsEmpty();
        option.operation = ReadInt32(Get(object, "operation"), "operation");
        ReadRect(object, option);
    }
    const Option* get() const { return present ? &option : nullptr; }
};

struct WindowInfoArg {
    TesselWindowInfo info{};
    bool present = false;
    explicit WindowInfoArg(const Napi::Value& value)
    {
        Napi::Object object = ReadObject(value, "windowInfo", true);
        present = !object.IsEmpty();
        Napi::Value handle = Get(object, "windowHandle");
        if (!handle.IsEmpty() && !handle.IsNull()) {
            info.windowHandle = reinterpret_cast<void*>(static_cast<intptr_t>(ReadInt64(handle, "windowHandle")));
        }
        info.width = ReadInt32(Get(object, "width"), "width");
        info.height = ReadInt32(Get(object, "height"), "height");
    }
    const TesselWindowInfo* get() const { return present ? &info : nullptr; }
};

struct FetchProductArg {
    TesselFetchProductParam param{};
    TextArg categoryId;
    bool present = false;
    explicit FetchProductArg(const Napi::Value& value)
    {
        Napi::Object object = ReadObject(value, "param", true);
        present = !object.IsEmpty();
        categoryId = ReadText(Get(object, "categoryId"), "categoryId");
        param.pageNumber = ReadInt32(Get(object, "pageNumber"), "pageNumber");
        param.pageSize = ReadInt32(Get(object, "pageSize"), "pageSize");
    }
    const TesselFetchProductParam* get()
    {
        param.categoryId = categoryId.get();
        return present ? &param : nullptr;
    }
};

struct StartPurchaseArg {
    TesselStartPurchaseParam param{};
    std::vector<TesselOrderProduct> orders;
    TextArg serviceTxnNo;
    TextArg extraData;
    bool present = false;
    explicit StartPurchaseArg(const Napi::Value& value)
    {
        Napi::Object object = ReadObject(value, "param", true);
        present = !object.IsEmpty();
        Napi::Value list = Get(object, "orderProducts");
        if (!list.IsEmpty() && !list.IsUndefined() && !list.IsNull()) {
            if (!list.IsArray()) throw Napi::TypeError::New(value.Env(), "orderProducts must be an array");
            Napi::Array array = list.As<Napi::Array>();
            for (uint32_t i = 0; i < array.Length(); ++i) {
                Napi::Object order = ReadObject(array.Get(i), "an order product", false);
                TesselOrderProduct product{};
                product.productId = ReadInt64(order.Get("productId"), "productId");
                product.salePrice = ReadDouble(order.Get("salePrice"), "salePrice");
                product.quantity = ReadInt32(order.Get("quantity"), "quantity");
                orders.push_back(product);
            }
        }
        Napi::Value option = Get(object, "purchaseOption");
        Napi::Object options = ReadObject(option.IsEmpty() ? value.Env().Undefined() : option, "purchaseOption", true);
        param.purchaseOption.operation = ReadInt32(Get(options, "operation"), "operation");
        ReadRect(options, param.purchaseOption);
        serviceTxnNo = ReadText(Get(object, "serviceTxnNo"), "serviceTxnNo");
        extraData = ReadText(Get(object, "extraData"), "extraData");
    }
    const TesselStartPurchaseParam* get()
    {
        param.orderProducts = orders.empty() ? nullptr : orders.data();
        param.orderProductCount = static_cast<uint32_t>(orders.size());
        param.serviceTxnNo = serviceTxnNo.get();
        param.extraData = extraData.get();
        return present ? &param : nullptr;
    }
};

struct LogSendArg {
    static constexpr const char* kTexts[] = {"mktType1", "mktId1", "mktType2", "mktId2", "gameVersion",
                                              "logGroupId", "serverCd", "serverCdDet", "lvCd", "lvCdDet", "contents"};
    TesselLogSendParam param{};
    TextArg texts[11];
    bool present = false;
    explicit LogSendArg(const Napi::Value& value)
    {
        Napi::Object object = ReadObject(value, "param", true);
        present = !object.IsEmpty();
        param.auid = ReadInt64(Get(object, "auid"), "auid");
        param.cuid = ReadInt64(Get(object, "cuid"), "cuid");
        for (size_t i = 0; i < 11; ++i) texts[i] = ReadText(Get(object, kTexts[i]), kTexts[i]);
    }
    const TesselLogSendParam* get()
    {
        const wchar_t** fields[] = {&param.mktType1, &param.mktId1, &param.mktType2, &param.mktId2,
                                    &param.gameVersion, &param.logGroupId, &param.serverCd, &param.serverCdDet,
                                    &param.lvCd, &param.lvCdDet, &param.contents};
        for (size_t i = 0; i < 11; ++i) *fields[i] = texts[i].get();
        return present ? &param : nullptr;
    }
};

// --- Data of the answers -----------------------------------------------------------

// One shape per place that builds objects.
template <int Site>
Shape& ShapeOf()
{
    static Shape shape;
    return shape;
}

napi_value Null(napi_env env)
{
    napi_value null = nullptr;
    napi_get_null(env, &null);
    return null;
}

double Num(long long value) { return static_cast<double>(value); }

napi_value NoData(napi_env env, const Raw&) { return Null(env); }

napi_value TextData(napi_env env, const Raw& raw) { return WriteText(env, raw.text != nullptr ? raw.text : L""); }

napi_value Category(napi_env env, const void* record)
{
    const auto* c = static_cast<const TesselShopCategory*>(record);
    return ObjectBuilder(env, ShapeOf<1>())
        .Text("categoryId", c->categoryId)
        .Text("parentCategoryId", c->parentCategoryId)
        .Number("displayNumber", c->displayNumber)
        .Text("name", c->name)
        .Number("depth", c->depth)
        .Build();
}

// The fields TesselProduct and TesselProductEx share.
template <class P>
ObjectBuilder& ProductFields(ObjectBuilder& b, const P* p)
{
    return b.Number("productId", Num(p->productId))
        .Text("gameItemId", p->gameItemId)
        .Text("name", p->name)
        .Text("description", p->description)
        .Number("quantity", p->quantity)
        .Number("productTypeCode", p->productTypeCode)
        .Text("categoryId", p->categoryId)
        .Text("categoryName", p->categoryName)
        .Text("currencyCode", p->currencyCode)
        .Number("price", p->price)
        .Number("displayPrice", p->displayPrice)
        .Text("displayPriceString", p->displayPriceString)
        .Number("salePrice", p->salePrice)
        .Number("displaySalePrice", p->displaySalePrice)
        .Text("displaySalePriceString", p->displaySalePriceString)
        .Bool("isDiscount", p->isDiscount)
        .Number("discountType", p->discountType)
        .Number("discountTypeValue", p->discountTypeValue)
        .Number("discountBeginDate", Num(p->discountBeginDate))
        .Number("discountEndDate", Num(p->discountEndDate))
        .Number("totalQuantity", p->totalQuantity)
        .Number("memberQuantity", p->memberQuantity)
        .Number("guidQuantity", p->guidQuantity)
        .Text("thumbnailUrl", p->thumbnailUrl)
        .Bool("canWithdraw", p->canWithdraw)
        .Bool("purchasedAtLeastOnce", p->purchasedAtLeastOnce)
        .Number("purchaseLimitTypeCode", p->purchaseLimitTypeCode)
        .Number("purchaseLimitCount", p->purchaseLimitCount)
        .Number("saleLimitCount", p->saleLimitCount)
        .Number("saleBeginDate", Num(p->saleBeginDate))
        .Number("saleEndDate", Num(p->saleEndDate));
}

napi_value Product(napi_env env, const void* record)
{
    ObjectBuilder b(env, ShapeOf<14>());
    return ProductFields(b, static_cast<const TesselProduct*>(record)).Build();
}

napi_value ProductEx(napi_env env, const void* record)
{
    const auto* p = static_cast<const TesselProductEx*>(record);
    ObjectBuilder b(env, ShapeOf<15>());
    return ProductFields(b, p).Number("purchaseAvailabilityCode", p->purchaseAvailabilityCode).Build();
}

napi_value PurchasedProduct(napi_env env, const void* record)
{
    const auto* p = static_cast<const TesselPurchasedProduct*>(record);
    return ObjectBuilder(env, ShapeOf<2>())
        .Number("transactionDetailNumber", Num(p->transactionDetailNumber))
        .Number("productId", Num(p->productId))
        .Text("categoryId", p->categoryId)
        .Number("totalQuantity", p->totalQuantity)
        .Number("memberQuantity", p->memberQuantity)
        .Number("guidQuantity", p->guidQuantity)
        .Build();
}

napi_value ChargeInfo(napi_env env, const void* record)
{
    const auto* c = static_cast<const TesselChargeInfo*>(record);
    return ObjectBuilder(env, ShapeOf<3>())
        .Number("chargeDeductVal", c->chargeDeductVal)
        .Number("chargeDisplayDeductVal", c->chargeDisplayDeductVal)
        .Number("chargeType", c->chargeType)
        .Text("chargeTypeName", c->chargeTypeName)
        .Build();
}

napi_value InventoryItem(napi_env env, const void* record)
{
    const auto* i = static_cast<const TesselInventoryItem*>(record);
    return ObjectBuilder(env, ShapeOf<4>())
        .Number("transactionMasterNumber", Num(i->transactionMasterNumber))
        .Number("transactionDetailNumber", Num(i->transactionDetailNumber))
        .Number("productId", Num(i->productId))
        .Text("gameItemId", i->gameItemId)
        .Text("productName", i->productName)
        .Number("quantity", i->quantity)
        .Text("thumbnailUrl", i->thumbnailUrl)
        .Build();
}

napi_value VoidedPurchase(napi_env env, const void* record)
{
    const auto* v = static_cast<const TesselVoidedPurchase*>(record);
    return ObjectBuilder(env, ShapeOf<5>())
        .Number("tid", Num(v->tid))
        .Text("marketCode", v->marketCode)
        .Text("productId", v->productId)
        .Text("marketProductId", v->marketProductId)
        .Text("userId", v->userId)
        .Number("characterNo", Num(v->characterNo))
        .Number("purchaseMillis", Num(v->purchaseMillis))
        .Number("voidedMillis", Num(v->voidedMillis))
        .Build();
}

napi_value Pair(napi_env env, const void* record)
{
    const auto* p = static_cast<const TesselPopupStringPair*>(record);
    return ObjectBuilder(env, ShapeOf<6>()).Text("first", p->first).Text("second", p->second).Build();
}

napi_value Popup(napi_env env, const void* record)
{
    const auto* p = static_cast<const TesselPopup*>(record);
    return ObjectBuilder(env, ShapeOf<7>())
        .Text("text1", p->text1)
        .Text("text2", p->text2)
        .Number("number1", p->number1)
        .Text("text3", p->text3)
        .Number("byte1", p->byte1)
        .Number("byte2", p->byte2)
        .Number("byte3", p->byte3)
        .Number("byte4", p->byte4)
        .Number("byte5", p->byte5)
        .Number("byte6", p->byte6)
        .Number("byte7", p->byte7)
        .Number("number2", p->number2)
        .Add("pair1", Pair(env, &p->pair1))
        .Add("pair2", Pair(env, &p->pair2))
        .Number("number3", p->number3)
        .Number("number4", p->number4)
        .Number("number5", p->number5)
        .Number("number6", p->number6)
        .Build();
}

template <class Record, napi_value (*One)(napi_env, const void*)>
napi_value ListData(napi_env env, const Raw& raw)
{
    return ListOf(env, raw.list, raw.count, sizeof(Record), One);
}

napi_value PurchaseData(napi_env env, const Raw& raw)
{
    static const TesselPurchaseResult kEmpty = {0, 0, nullptr, 0, L"", 0, false, L"", nullptr, 0, nullptr, 0};
    const auto* p = raw.list != nullptr ? static_cast<const TesselPurchaseResult*>(raw.list) : &kEmpty;
    napi_value details = nullptr;
    napi_create_array_with_length(env, p->transactionDetailNumberCount, &details);
    for (uint32_t i = 0; p->transactionDetailNumbers != nullptr && i < p->transactionDetailNumberCount; ++i) {
        napi_value number = nullptr;
        napi_create_double(env, Num(p->transactionDetailNumbers[i]), &number);
        napi_set_element(env, details, i, number);
    }
    return ObjectBuilder(env, ShapeOf<8>())
        .Number("transactionMasterNumber", Num(p->transactionMasterNumber))
        .Add("transactionDetailNumbers", details)
        .Text("oneTimePaymentUrl", p->oneTimePaymentUrl)
        .Number("purchaseProgress", p->purchaseProgress)
        .Bool("isPurchased", p->isPurchased)
        .Text("extraData", p->extraData)
        .Add("purchasedProducts", ListOf(env, p->purchasedProducts, p->purchasedProductCount,
                                         sizeof(TesselPurchasedProduct), PurchasedProduct))
        .Add("chargeInfos", ListOf(env, p->chargeInfos, p->chargeInfoCount, sizeof(TesselChargeInfo), ChargeInfo))
        .Build();
}

napi_value ConfirmData(napi_env env, const Raw& raw)
{
    return ObjectBuilder(env, ShapeOf<9>())
        .Bool("confirmed", raw.flag)
        .Add("purchasedProducts", ListOf(env, raw.list, raw.count, sizeof(TesselPurchasedProduct), PurchasedProduct))
        .Add("chargeInfos", ListOf(env, raw.list2, raw.count2, sizeof(TesselChargeInfo), ChargeInfo))
        .Build();
}

napi_value TermsData(napi_env env, const Raw& raw)
{
    return ObjectBuilder(env, ShapeOf<10>()).Bool("agreed", raw.flag).Add("terms", TextData(env, raw)).Build();
}

napi_value WithdrawData(napi_env env, const Raw& raw) { return ObjectBuilder(env, ShapeOf<11>()).Bool("withdrawn", raw.flag).Build(); }

napi_value PopupListData(napi_env env, const Raw& raw)
{
    const auto* data = static_cast<const TesselPopupRequestData*>(raw.list2);
    napi_value pairs1 = ListOf(env, data ? data->pairs1 : nullptr, data ? data->pairCount1 : 0,
                               sizeof(TesselPopupStringPair), Pair);
    napi_value pairs2 = ListOf(env, data ? data->pairs2 : nullptr, data ? data->pairCount2 : 0,
                               sizeof(TesselPopupStringPair), Pair);
    return ObjectBuilder(env, ShapeOf<12>())
        .Add("popups", ListOf(env, raw.list, raw.count, sizeof(TesselPopup), Popup))
        .Add("requestData", ObjectBuilder(env, ShapeOf<13>()).Add("pairs1", pairs1).Add("pairs2", pairs2).Build())
        .Build();
}

// --- Trampolines ---------------------------------------------------------------

void OnPlain(const TesselAPICallbackResult* result) { Finish(result->userContext, result, Raw{}); }
void OnDestroy(TesselAPICallbackResult* result) { Finish(result->userContext, result, Raw{}); }

void OnText(const TesselAPICallbackResult* result, const wchar_t* text)
{
    Raw raw;
    raw.text = text;
    Finish(result->userContext, result, raw);
}

template <class Record>
void OnList(const TesselAPICallbackResult* result, const Record* list, unsigned int count)
{
    Raw raw;
    raw.list = list;
    raw.count = count;
    Finish(result->userContext, result, raw);
}

void OnPurchase(const TesselAPICallbackResult* result, const TesselPurchaseResult* purchase)
{
    Raw raw;
    raw.list = purchase;
    Finish(result->userContext, result, raw);
}

void OnConfirm(const TesselAPICallbackResult* result, bool confirmed, const TesselPurchasedProduct* products,
               unsigned int productCount, const TesselChargeInfo* charges, unsigned int chargeCount)
{
    Raw raw{products, productCount, charges, chargeCount, confirmed, nullptr};
    Finish(result->userContext, result, raw);
}

void OnTerms(const TesselAPICallbackResult* result, bool agreed, const wchar_t* terms)
{
    Raw raw;
    raw.flag = agreed;
    raw.text = terms;
    Finish(result->userContext, result, raw);
}

void OnWithdraw(TesselAPICallbackResult* result, bool withdrawn)
{
    Raw raw;
    raw.flag = withdrawn;
    Finish(result->userContext, result, raw);
}

template <Lane L>
void OnPopupList(const TesselAPICallbackResult* result, TesselPopup* popups, unsigned int count,
                 TesselPopupRequestData* data)
{
    Raw raw;
    raw.list = popups;
    raw.count = count;
    raw.list2 = data;
    FinishLane(L, result, raw);
}

// --- Entry points ------------------------------------------------------------------

using Info = const Napi::CallbackInfo&;

Napi::Value Sync(Info info, const TesselAPIResult& result, napi_value data = nullptr)
{
    return Napi::Value(info.Env(), SyncResult(info.Env(), result, data));
}

template <TesselAPIResult (*GetVersion)(wchar_t*, int32_t)>
Napi::Value Version(Info info)
{
    wchar_t buffer[64] = {0};
    TesselAPIResult result = GetVersion(buffer, 64);
    return Sync(info, result, result.resultCode == TESSEL_RESULT_SUCCESS ? WriteText(info.Env(), buffer) : nullptr);
}

template <TesselAPIResult (*Call)()>
Napi::Value NoArgs(Info info)
{
    return Sync(info, Call());
}

// A request with one callback: the C call gets the context of the settle function info[0].
template <class Send>
Napi::Value One(Info info, Convert convert, uint32_t op, const wchar_t* module, Send send)
{
    CheckSettles(info, 1);
    send(Register(info.Env(), info[0], convert, op, module));
    return info.Env().Undefined();
}

// A popup request: a result (info[0]) and a destroy notice (info[1]).
template <class Send>
Napi::Value Two(Info info, Convert convert, uint32_t op, const wchar_t* module, Send send,
                Convert second = NoData)
{
    CheckSettles(info, 2);
    void* context = Register(info.Env(), info[0], convert, op, module);
    void* destroy = Register(info.Env(), info[1], second, op, module);
    send(context, destroy);
    return info.Env().Undefined();
}

// Platform.
Napi::Value PlatformInitialize(Info info)
{
    TextArg gameId = ReadText(info[0], "gameId");
    return Sync(info, Tessel_Initialize(gameId.get()));
}

Napi::Value PlatformUnInitialize(Info info)
{
    TesselAPIResult result = Tessel_UnInitialize();
    // The platform dropped its pending callbacks: settle what still waits.
    Abandon(info.Env());
    return Sync(info, result);
}

Napi::Value PlatformRunCallbacks(Info info) { return Napi::Number::New(info.Env(), Pump(info.Env())); }

Napi::Value PlatformResultCodeName(Info info)
{
    return Napi::Value(info.Env(), WriteText(info.Env(), Tessel_ResultCodeName(ReadUint32(info[0], "resultCode"))));
}

Napi::Value PlatformPendingCount(Info info) { return Napi::Number::New(info.Env(), static_cast<double>(PendingCount())); }
Napi::Value PlatformStrayAnswers(Info info) { return Napi::Number::New(info.Env(), static_cast<double>(StrayAnswers())); }

// Vendra.
Napi::Value IAPInitialize(Info info)
{
    TextArg storeId = ReadText(info[0], "storeId");
    return Sync(info, TesselAPI_IAPInitialize(storeId.get()));
}

Napi::Value IAPInitializeWithWndInfo(Info info)
{
    TextArg storeId = ReadText(info[0], "storeId");
    WindowInfoArg window(info[1]);
    return Sync(info, TesselAPI_IAPInitializeWithWndInfo(storeId.get(), window.get()));
}

Napi::Value FetchShopCategories(Info info)
{
    return One(info, ListData<TesselShopCategory, Category>, TESSEL_VENDRA_OP_FETCH_SHOP_CATEGORIES, kVendra,
               [](void* c) { TesselAPI_FetchShopCategories(OnList<TesselShopCategory>, c); });
}

Napi::Value FetchProducts(Info info)
{
    FetchProductArg param(info[1]);
    return One(info, ListData<TesselProduct, Product>, TESSEL_VENDRA_OP_FETCH_PRODUCTS, kVendra,
               [&](void* c) { TesselAPI_FetchProducts(param.get(), OnList<TesselProduct>, c); });
}

Napi::Value FetchProductsEx(Info info)
{
    FetchProductArg param(info[1]);
    return One(info, ListData<TesselProductEx, ProductEx>, TESSEL_VENDRA_OP_FETCH_PRODUCTS, kVendra,
               [&](void* c) { TesselAPI_FetchProductsEx(param.get(), OnList<TesselProductEx>, c); });
}

Napi::Value StartPurchase(Info info)
{
    StartPurchaseArg param(info[1]);
    return One(info, PurchaseData, TESSEL_VENDRA_OP_START_PURCHASE, kVendra,
               [&](void* c) { TesselAPI_StartPurchase(param.get(), OnPurchase, c); });
}

Napi::Value StartPurchaseEx(Info info)
{
    StartPurchaseArg param(info[2]);
    return Two(info, PurchaseData, TESSEL_VENDRA_OP_START_PURCHASE, kVendra, [&](void* c, void* d) {
        TesselAPI_StartPurchaseEx(param.get(), OnPurchase, OnDestroy, c, d);
    });
}

Napi::Value ConfirmPurchase(Info info)
{
    long long transaction = ReadInt64(info[1], "transactionMasterNumber");
    return One(info, ConfirmData, TESSEL_VENDRA_OP_CONFIRM_PURCHASE, kVendra,
               [&](void* c) { TesselAPI_ConfirmPurchase(transaction, OnConfirm, c); });
}

Napi::Value StartPayment(Info info)
{
    WindowOption<TesselPaymentOption> option(info[1], "option");
    return One(info, TextData, TESSEL_VENDRA_OP_START_PAYMENT, kVendra,
               [&](void* c) { TesselAPI_StartPayment(option.get(), OnText, c); });
}

Napi::Value StartPaymentEx(Info info)
{
    WindowOption<TesselPaymentOption> option(info[2], "option");
    return Two(info, TextData, TESSEL_VENDRA_OP_START_PAYMENT, kVendra, [&](void* c, void* d) {
        TesselAPI_StartPaymentEx(option.get(), OnText, OnDestroy, c, d);
    });
}

Napi::Value FetchInventory(Info info)
{
    return One(info, ListData<TesselInventoryItem, InventoryItem>, TESSEL_VENDRA_OP_FETCH_INVENTORY, kVendra,
               [](void* c) { TesselAPI_FetchInventory(OnList<TesselInventoryItem>, c); });
}

Napi::Value FetchTermsAgreement(Info info)
{
    WindowOption<TesselTermsOption> option(info[1], "option");
    return One(info, TermsData, TESSEL_VENDRA_OP_FETCH_TERMS_AGREEMENT, kVendra,
               [&](void* c) { TesselAPI_FetchTermsAgreement(option.get(), OnTerms, c); });
}

Napi::Value FetchTermsAgreementEx(Info info)
{
    WindowOption<TesselTermsOption> option(info[2], "option");
    return Two(info, TermsData, TESSEL_VENDRA_OP_FETCH_TERMS_AGREEMENT, kVendra, [&](void* c, void* d) {
        TesselAPI_FetchTermsAgreementEx(option.get(), OnTerms, OnDestroy, c, d);
    });
}

Napi::Value FetchVoidedPurchases(Info info)
{
    return One(info, ListData<TesselVoidedPurchase, VoidedPurchase>, TESSEL_VENDRA_OP_FETCH_VOIDED_PURCHASES,
               kVendra, [](void* c) { TesselAPI_FetchVoidedPurchases(OnList<TesselVoidedPurchase>, c); });
}

Napi::Value WithdrawGame(Info info)
{
    Napi::Object object = ReadObject(info[2], "option", true);
    TesselWithdrawGameOptionParams option{};
    ReadRect(object, option);
    const TesselWithdrawGameOptionParams* given = object.IsEmpty() ? nullptr : &option;
    return Two(info, WithdrawData, TESSEL_VENDRA_OP_WITHDRAW_GAME, kVendra,
               [&](void* c, void* d) { TesselAPI_WithdrawGame(given, OnWithdraw, OnDestroy, c, d); });
}

// Panora.
Napi::Value ViewInitializeWithWndInfo(Info info)
{
    WindowInfoArg window(info[0]);
    return Sync(info, TesselAPI_ViewInitializeWithWndInfo(window.get()));
}

template <void (*Show)(TesselWebViewMode, TesselPopupCallback, void*), uint32_t Op>
Napi::Value ShowPopup(Info info)
{
    TesselWebViewMode mode = ReadMode(info[1]);
    return One(info, NoData, Op, kPanora, [&](void* c) { Show(mode, OnPlain, c); });
}

template <void (*Show)(TesselWebViewMode, TesselPopupCallback, TesselPopupCallback, void*, void*), uint32_t Op>
Napi::Value ShowPopupEx(Info info)
{
    TesselWebViewMode mode = ReadMode(info[2]);
    return Two(info, NoData, Op, kPanora, [&](void* c, void* d) { Show(mode, OnPlain, OnPlain, c, d); });
}

Napi::Value ManualPopup(Info info)
{
    TextArg key = ReadText(info[1], "key");
    TesselWebViewMode mode = ReadMode(info[2]);
    return One(info, NoData, TESSEL_PANORA_OP_MANUAL_POPUP, kPanora,
               [&](void* c) { TesselAPI_ManualPopup(key.get(), mode, OnPlain, c); });
}

Napi::Value ManualPopupEx(Info info)
{
    TextArg key = ReadText(info[2], "key");
    TesselWebViewMode mode = ReadMode(info[3]);
    return Two(info, NoData, TESSEL_PANORA_OP_MANUAL_POPUP, kPanora,
               [&](void* c, void* d) { TesselAPI_ManualPopupEx(key.get(), mode, OnPlain, OnPlain, c, d); });
}

Napi::Value VerifyIdentificationPopup(Info info)
{
    bool flag = ReadBool(info[2], "flag");
    TesselWebViewMode mode = ReadMode(info[3]);
    return Two(
        info, NoData, TESSEL_PANORA_OP_VERIFY_IDENTIFICATION_POPUP, kPanora,
        [&](void* c, void* v) { TesselAPI_VerifyIdentificationPopup(flag, mode, OnPlain, OnText, c, v); }, TextData);
}

// The list fetches: one in flight per lane (requests.hpp).
void SendAuto(const wchar_t*) { TesselAPI_FetchAutoPopup(OnPopupList<kAutoLane>); }
void SendManual(const wchar_t* key) { TesselAPI_FetchManualPopup(key, OnPopupList<kManualLane>); }
void SendNews(const wchar_t*) { TesselAPI_FetchNewsPopup(OnPopupList<kNewsLane>); }
void SendCoupon(const wchar_t*) { TesselAPI_FetchCouponPopup(OnPopupList<kCouponLane>); }

template <Lane L, LaneSend Send, uint32_t Op>
Napi::Value FetchPopupList(Info info)
{
    TextArg key = L == kManualLane ? ReadText(info[1], "key") : TextArg{};
    CheckSettles(info, 1);
    if (RegisterOnLane(info.Env(), info[0], PopupListData, Op, kPanora, L, Send, key.get())) Send(key.get());
    return info.Env().Undefined();
}

Napi::Value SetPopupDisallowed(Info info)
{
    Napi::Object object = ReadObject(info[1], "params", true);
    TesselPopupDisallowedParams params{ReadUint32(Get(object, "popupId"), "popupId"),
                                       ReadUint32(Get(object, "days"), "days")};
    const TesselPopupDisallowedParams* given = object.IsEmpty() ? nullptr : &params;
    return One(info, NoData, TESSEL_PANORA_OP_SET_POPUP_DISALLOWED, kPanora,
               [&](void* c) { TesselAPI_SetPopupDisallowed(given, OnPlain, c); });
}

Napi::Value FetchWebOpenKey(Info info)
{
    return One(info, TextData, TESSEL_PANORA_OP_FETCH_WEB_OPEN_KEY, kPanora,
               [](void* c) { TesselAPI_FetchWebOpenKey(OnText, c); });
}

// Scrivo.
Napi::Value LogSend(Info info)
{
    LogSendArg param(info[1]);
    return One(info, NoData, TESSEL_SCRIVO_OP_SEND_LOG, kScrivo,
               [&](void* c) { TesselAPI_LogSend(param.get(), OnPlain, c); });
}

// Ludex.
Napi::Value FetchCharacter(Info info)
{
    TextArg characterId = ReadText(info[1], "characterId");
    TextArg serverId = ReadText(info[2], "serverId");
    return One(info, TextData, TESSEL_LUDEX_OP_FETCH_CHARACTER, kLudex,
               [&](void* c) { TesselAPI_FetchCharacter(characterId.get(), serverId.get(), OnText, c); });
}

struct Export {
    const char* name;
    Napi::Value (*function)(Info);
};

Napi::Object Group(Napi::Env env, std::initializer_list<Export> exports)
{
    Napi::Object group = Napi::Object::New(env);
    for (const Export& e : exports) group.Set(e.name, Napi::Function::New(env, e.function, e.name));
    return group;
}

Napi::Object Init(Napi::Env env, Napi::Object exports)
{
    ClaimEnvironment(env);
    exports.Set("platform", Group(env, {
        {"initialize", Guard<PlatformInitialize>},
        {"uninitialize", Guard<PlatformUnInitialize>},
        {"runCallbacks", Guard<PlatformRunCallbacks>},
        {"resultCodeName", Guard<PlatformResultCodeName>},
        {"pendingCount", Guard<PlatformPendingCount>},
        {"strayAnswers", Guard<PlatformStrayAnswers>},
    }));
    exports.Set("vendra", Group(env, {
        {"initialize", Guard<IAPInitialize>},
        {"initializeWithWndInfo", Guard<IAPInitializeWithWndInfo>},
        {"uninitialize", Guard<NoArgs<TesselAPI_IAPUnInitialize>>},
        {"getVersion", Guard<Version<TesselAPI_IAPGetVersion>>},
        {"fetchShopCategories", Guard<FetchShopCategories>},
        {"fetchProducts", Guard<FetchProducts>},
        {"fetchProductsEx", Guard<FetchProductsEx>},
        {"startPurchase", Guard<StartPurchase>},
        {"startPurchaseEx", Guard<StartPurchaseEx>},
        {"confirmPurchase", Guard<ConfirmPurchase>},
        {"startPayment", Guard<StartPayment>},
        {"startPaymentEx", Guard<StartPaymentEx>},
        {"fetchInventory", Guard<FetchInventory>},
        {"fetchTermsAgreement", Guard<FetchTermsAgreement>},
        {"fetchTermsAgreementEx", Guard<FetchTermsAgreementEx>},
        {"fetchVoidedPurchases", Guard<FetchVoidedPurchases>},
        {"withdrawGame", Guard<WithdrawGame>},
        {"closeAllPopups", Guard<NoArgs<TesselAPI_IAPCloseAllPopups>>},
    }));
    exports.Set("panora", Group(env, {
        {"initialize", Guard<NoArgs<TesselAPI_ViewInitialize>>},
        {"initializeWithWndInfo", Guard<ViewInitializeWithWndInfo>},
        {"uninitialize", Guard<NoArgs<TesselAPI_ViewUnInitialize>>},
        {"getVersion", Guard<Version<TesselAPI_ViewGetVersion>>},
        {"autoPopup", Guard<ShowPopup<TesselAPI_AutoPopup, TESSEL_PANORA_OP_AUTO_POPUP>>},
        {"autoPopupEx", Guard<ShowPopupEx<TesselAPI_AutoPopupEx, TESSEL_PANORA_OP_AUTO_POPUP>>},
        {"manualPopup", Guard<ManualPopup>},
        {"manualPopupEx", Guard<ManualPopupEx>},
        {"newsPopup", Guard<ShowPopup<TesselAPI_NewsPopup, TESSEL_PANORA_OP_NEWS_POPUP>>},
        {"newsPopupEx", Guard<ShowPopupEx<TesselAPI_NewsPopupEx, TESSEL_PANORA_OP_NEWS_POPUP>>},
        {"couponPopup", Guard<ShowPopup<TesselAPI_CouponPopup, TESSEL_PANORA_OP_COUPON_POPUP>>},
        {"couponPopupEx", Guard<ShowPopupEx<TesselAPI_CouponPopupEx, TESSEL_PANORA_OP_COUPON_POPUP>>},
        {"verifyIdentificationPopup", Guard<VerifyIdentificationPopup>},
        {"fetchAutoPopup", Guard<FetchPopupList<kAutoLane, SendAuto, TESSEL_PANORA_OP_FETCH_AUTO_POPUPS>>},
        {"fetchManualPopup", Guard<FetchPopupList<kManualLane, SendManual, TESSEL_PANORA_OP_FETCH_MANUAL_POPUPS>>},
        {"fetchNewsPopup", Guard<FetchPopupList<kNewsLane, SendNews, TESSEL_PANORA_OP_FETCH_NEWS_POPUPS>>},
        {"fetchCouponPopup", Guard<FetchPopupList<kCouponLane, SendCoupon, TESSEL_PANORA_OP_FETCH_COUPON_POPUPS>>},
        {"setPopupDisallowed", Guard<SetPopupDisallowed>},
        {"fetchWebOpenKey", Guard<FetchWebOpenKey>},
        {"closeAllPopups", Guard<NoArgs<TesselAPI_ViewCloseAllPopups>>},
    }));
    exports.Set("scrivo", Group(env, {
        {"initialize", Guard<NoArgs<TesselAPI_LogInitialize>>},
        {"uninitialize", Guard<NoArgs<TesselAPI_LogUnInitialize>>},
        {"getVersion", Guard<Version<TesselAPI_LogGetVersion>>},
        {"send", Guard<LogSend>},
    }));
    exports.Set("ludex", Group(env, {
        {"initialize", Guard<NoArgs<TesselAPI_GamingServicesInitialize>>},
        {"uninitialize", Guard<NoArgs<TesselAPI_GamingServicesUnInitialize>>},
        {"getVersion", Guard<Version<TesselAPI_GamingServicesGetVersion>>},
        {"fetchCharacter", Guard<FetchCharacter>},
    }));
    return exports;
}

}  // namespace
}  // namespace tessel_node

static Napi::Object InitAddon(Napi::Env env, Napi::Object exports) { return tessel_node::Init(env, exports); }

NODE_API_MODULE(tessel_pcsdk, InitAddon)
